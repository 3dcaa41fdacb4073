#include "message/ui/MakeInputWindow.h"
#include "config/testing/ScratchSession.h"
#include "message/MessageFile.h"
#include "message/MessageGenerator.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "message/ui/MessageLoadDialog.h"
#include "message/ui/MessageTextEdit.h"
#include "message/ui/MsgInsertBrowse.h"
#include "message/ui/MsgInsertForm.h"
#include "runtime/ui/BrowseList.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace kestrix;
using namespace kestrix::message;
using namespace kestrix::runtime::testing;

namespace {

struct Setup : config::testing::ScratchSession
{
    std::unique_ptr<MakeInputWindow> window{MakeInputWindow::open(session)};
    MessageTextEdit* text() { return child<MessageTextEdit>(window.get(), "text"); }
    void trigger(const char* action) { child<QAction>(window.get(), action)->trigger(); }
};

} // namespace

class MakeInputWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void composingAndGeneratingPutsTheEnginesCodeOnTheClipboard()
    {
        Setup s;
        QVERIFY(s.window);
        s.window->show();
        QTest::keyClicks(child<QLineEdit>(s.window.get(), "title"), QStringLiteral("Confirm"));
        s.text()->setFocus();
        QTest::keyClicks(s.text(), QStringLiteral("Delete it?"));
        QTest::keyClick(s.text(), Qt::Key_Return);
        QTest::keyClick(s.text(), Qt::Key_Tab);
        QTest::keyClicks(s.text(), QStringLiteral("Sure"));
        child<QCheckBox>(s.window.get(), "button2")->click(); // Yes
        child<QCheckBox>(s.window.get(), "button3")->click(); // No
        child<QCheckBox>(s.window.get(), "button1")->click(); // OK off
        QCOMPARE(child<QRadioButton>(s.window.get(), "default1")->text(), QStringLiteral("Yes"));
        QVERIFY(child<QRadioButton>(s.window.get(), "default1")->isChecked());
        QVERIFY(child<QRadioButton>(s.window.get(), "default3")->isHidden());
        child<QRadioButton>(s.window.get(), "default2")->click();
        QComboBox* icon = child<QComboBox>(s.window.get(), "icon");
        for (const char* pictured : {"Question", "Save", "VCRplay", "Tick"})
            QVERIFY2(!icon->itemIcon(icon->findText(QString::fromLatin1(pictured))).isNull(), pictured);
        icon->setCurrentIndex(icon->findText(QStringLiteral("Question")));
        emit icon->activated(icon->currentIndex());
        child<QCheckBox>(s.window.get(), "sound")->click(); // the template has it on

        const runtime::Record& r = s.window->maker().message();
        QCOMPARE(r.text(Mes::Text), std::string("Delete it?\r\n`Sure"));
        QCOMPARE(r.text(Mes::Default), std::string("No"));
        click(s.window.get(), "generateButton");
        QCOMPARE(s.clip.text(), std::string("CASE MESSAGE('Delete it?'&|\r\n"
                                            "     '|<9>Sure', |\r\n"
                                            "     'Confirm', ICON:Question, |\r\n"
                                            "      BUTTON:Yes+BUTTON:No, BUTTON:No, 0)\r\n"
                                            "OF BUTTON:Yes\r\n"
                                            "OF BUTTON:No\r\n"
                                            "END !CASE"));
        auto lines = MessageGenerator(generatorSettings(s.session.configuration())).generate(r).lines;
        QCOMPARE(lines.size(), std::size_t(7));

        int iconized = 0;
        s.window->setFrameIconizer([&] { ++iconized; });
        s.session.modes().clipAddMode = true;
        click(s.window.get(), "minimizeButton");
        QCOMPARE(iconized, 1);
        QVERIFY(s.clip.text().find("END !CASE\r\nCASE MESSAGE(") != std::string::npos);
    }

    void saveAsOpenOpenAsNewAndCancel()
    {
        Setup s;
        QVERIFY(!s.window->maker().setText("first text"));
        s.window->showRecord();
        QVERIFY(!child<QAction>(s.window.get(), "save")->isEnabled());

        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Message Save As..."));
            child<QLineEdit>(d, "description")->setText(QStringLiteral("First"));
            click(d, "ok");
        });
        s.trigger("saveAs");
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker - First"));
        QVERIFY(child<QAction>(s.window.get(), "save")->isEnabled());

        // Cancel in Save As leaves the message as it was, description included.
        s.window->show();
        s.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Message Save As..."));
            child<QLineEdit>(d, "description")->setText(QStringLiteral("Other"));
            click(d, "cancel");
        });
        s.text()->setFocus();
        QTest::keyClick(s.text(), Qt::Key_A, Qt::ControlModifier); // Save As, not select-all
        QCOMPARE(s.window->maker().message().text(Mes::Description), std::string("First"));

        s.trigger("new");
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker"));
        QVERIFY(!child<QAction>(s.window.get(), "saveTool")->isEnabled());

        onNextDialog([](QDialog* d) {
            auto* list = child<runtime::BrowseList>(d, "messageList");
            QCOMPARE(list->topLevelItemCount(), 2); // First and the template
            QTest::keyClicks(child<QLineEdit>(d, "locator"), QStringLiteral("fir"));
            click(d, "open");
        });
        s.trigger("openAsNew");
        QCOMPARE(s.text()->toPlainText(), QStringLiteral("first text"));
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker"));

        onNextDialog([](QDialog* d) {
            QTest::keyClicks(child<QLineEdit>(d, "locator"), QStringLiteral("First"));
            click(d, "open");
        });
        s.trigger("open");
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker - First"));

        QVERIFY(!s.window->maker().setCaption("Changed"));
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Message Save..."));
            QCOMPARE(child<QLineEdit>(d, "description")->text(), QStringLiteral("First"));
            click(d, "ok");
        });
        s.trigger("save");
        QCOMPARE(s.window->maker().message().text(Mes::Caption), std::string("Changed"));

        // Cancelling Open keeps the window's own message.
        QVERIFY(!s.window->maker().setText("unsaved edit"));
        s.dialogs.answers = {runtime::Button::No};
        onNextDialog([](QDialog* d) { click(d, "close"); });
        s.trigger("open");
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("unsaved edit"));
    }

    void unsavedChangesAreMarkedAndAskedAboutBeforeTheyAreReplaced()
    {
        Setup s;
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker"));
        QVERIFY(!s.window->isModified());
        QTest::keyClicks(child<QLineEdit>(s.window.get(), "title"), QStringLiteral("Hello"));
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker *"));

        // Cancel keeps the edit; No throws it away.
        s.dialogs.answers = {runtime::Button::Cancel};
        s.trigger("new");
        QCOMPARE(s.dialogs.shown.back().text, std::string("Save changes?"));
        QCOMPARE(s.dialogs.shown.back().buttons,
                 runtime::Button::Yes | runtime::Button::No | runtime::Button::Cancel);
        QCOMPARE(s.window->maker().message().text(Mes::Caption), std::string("Hello"));
        s.dialogs.answers = {runtime::Button::No};
        s.trigger("new");
        QCOMPARE(s.window->maker().message().text(Mes::Caption), std::string());
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker"));

        // Yes on a message never saved runs Save As; the decompiled record counts as a change.
        s.clip.setText("MESSAGE('From the clipboard','Clip')");
        s.trigger("decompile");
        QCOMPARE(s.dialogs.shown.size(), std::size_t(2)); // nothing to save: no question
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker *"));
        s.dialogs.answers = {runtime::Button::Yes};
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Message Save As..."));
            child<QLineEdit>(d, "description")->setText(QStringLiteral("Kept"));
            click(d, "ok");
        });
        s.trigger("new");
        QVERIFY(findByDescription(*s.session.files().file("MESSAGE"), "Kept"));
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker"));

        // A change undone by hand is no change; Yes whose save is cancelled stops the command.
        child<QCheckBox>(s.window.get(), "loop")->click();
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Message Maker *"));
        child<QCheckBox>(s.window.get(), "loop")->click();
        QVERIFY(!s.window->isModified());
        child<QCheckBox>(s.window.get(), "button2")->click();
        s.dialogs.answers = {runtime::Button::Yes};
        onNextDialog([](QDialog* d) { click(d, "cancel"); });
        s.clip.setText("MESSAGE('Other','X')");
        s.trigger("decompile");
        QVERIFY(buttonChosen(s.window->maker().message(), 2));
        QCOMPARE(s.window->maker().message().text(Mes::Caption), std::string());

        // The decompiled default button is the window's default choice.
        s.dialogs.answers = {runtime::Button::No};
        s.clip.setText("MESSAGE('x','c',ICON:Hand,BUTTON:Yes+BUTTON:No,BUTTON:No)");
        s.trigger("decompile");
        QCOMPARE(child<QRadioButton>(s.window.get(), "default2")->text(), QStringLiteral("No"));
        QVERIFY(child<QRadioButton>(s.window.get(), "default2")->isChecked());

        // Closing the window asks too: Cancel keeps it open.
        s.window->show();
        s.dialogs.answers = {runtime::Button::Cancel};
        QVERIFY(!s.window->close());
        QVERIFY(s.window->isVisible());
        s.dialogs.answers = {runtime::Button::No};
        s.window->setAttribute(Qt::WA_DeleteOnClose, false); // the fixture owns it
        QVERIFY(s.window->close());
    }

    void theOpenListActsOnTheHighlightedMessageAndDeletesAfterAsking()
    {
        Setup s;
        for (const char* name : {"Alpha", "Beta", "Order saved"}) {
            QVERIFY(!s.window->maker().setText(std::string("text of ") + name));
            QVERIFY(s.window->maker().saveAs(name) == SaveOutcome::Saved);
        }
        QVERIFY(!s.window->maker().setText("the window's own"));
        s.session.modes().clipAddMode = true;
        onNextDialog([&](QDialog* d) {
            auto* list = child<runtime::BrowseList>(d, "messageList");
            QTest::keyClicks(child<QLineEdit>(d, "locator"),
                             QStringLiteral("saved")); // starts no description
            int shown = 0;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                shown += list->topLevelItem(i)->isHidden() ? 0 : 1;
            QCOMPARE(shown, 1);
            click(d, "toClip");
            click(d, "previewButton");
            child<QLineEdit>(d, "locator")->clear();
            list->setCurrentItem(list->topLevelItem(0));
            s.dialogs.answers = {runtime::Button::Yes};
            click(d, "delete");
            QCOMPARE(list->topLevelItemCount(), 3);
            click(d, "close");
        });
        s.trigger("open");
        QVERIFY(s.clip.text().find("text of Order saved") != std::string::npos);
        QCOMPARE(s.dialogs.shown[0].text, std::string("text of Order saved"));
        QCOMPARE(s.dialogs.shown[1].text, std::string("Delete the highlighted message named:|Alpha"));
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("the window's own"));
        QVERIFY(!findByDescription(*s.session.files().file("MESSAGE"), "Alpha"));
    }

    void theOpenListNeverEmptiesWhileALocateValueIsTyped()
    {
        Setup s;
        for (const char* name : {"Alpha", "Beta", "Order saved"})
            QVERIFY(s.window->maker().saveAs(name) == SaveOutcome::Saved);
        onNextDialog([&](QDialog* d) {
            auto* list = child<runtime::BrowseList>(d, "messageList");
            auto* locator = child<QLineEdit>(d, "locator");
            const auto shown = [list] {
                QStringList texts;
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    if (!list->topLevelItem(i)->isHidden())
                        texts << list->topLevelItem(i)->text(0);
                }
                return texts;
            };
            const QStringList all{"Alpha", "Beta", "Order saved", "ZZ-DEFAULT"};
            QTest::keyClicks(locator, QStringLiteral("zz-x")); // after the last description
            QCOMPARE(shown(), all);
            QCOMPARE(list->currentItem()->text(0), QStringLiteral("ZZ-DEFAULT"));
            locator->clear();
            QTest::keyClicks(locator, QStringLiteral("C"));
            QCOMPARE(shown(), all);
            QCOMPARE(list->currentItem()->text(0), QStringLiteral("Order saved")); // the nearest after "C"

            locator->clear();
            QTest::keyClicks(locator, QStringLiteral("saved"));
            QCOMPARE(shown(), QStringList{"Order saved"});
            s.dialogs.answers = {runtime::Button::Yes};
            click(d, "delete");
            QCOMPARE(shown(), (QStringList{"Alpha", "Beta", "ZZ-DEFAULT"}));
            QVERIFY(list->currentItem() && !list->currentItem()->isHidden());
            click(d, "close");
        });
        s.trigger("open");
        QVERIFY(!findByDescription(*s.session.files().file("MESSAGE"), "Order saved"));
    }

    void theOpenListFilterKeepsTheOrderAndTheLocatorWorksAmongWhatItKeeps()
    {
        Setup s;
        for (const char* name : {"Order saved", "Alpha", "Save failed", "Beta"})
            QVERIFY(s.window->maker().saveAs(name) == SaveOutcome::Saved);
        onNextDialog([&](QDialog* d) {
            auto* list = child<runtime::BrowseList>(d, "messageList");
            auto* locator = child<QLineEdit>(d, "locator");
            auto* filter = child<QLineEdit>(d, "filter");
            QVERIFY(filter);
            QTest::keyClicks(filter, QStringLiteral("SAV"));
            QCOMPARE(treeColumn(list, 0, true), (QStringList{"Order saved", "Save failed"}));
            // The locator jumps among the kept rows and never brings back one the filter left out.
            QTest::keyClicks(locator, QStringLiteral("s"));
            QCOMPARE(list->currentItem()->text(0), QStringLiteral("Save failed"));
            QCOMPARE(treeColumn(list, 0, true), (QStringList{"Order saved", "Save failed"}));
            locator->clear();
            QTest::keyClicks(locator, QStringLiteral("alp"));
            QCOMPARE(treeColumn(list, 0, true), (QStringList{"Order saved", "Save failed"}));
            locator->clear();
            filter->setFocus();
            QTest::keyClick(filter, Qt::Key_Escape);
            QVERIFY(filter->text().isEmpty());
            QVERIFY(d->isVisible()); // the first Esc only empties the box
            QCOMPARE(treeColumn(list, 0, true),
                     (QStringList{"Alpha", "Beta", "Order saved", "Save failed", "ZZ-DEFAULT"}));
            click(d, "close");
        });
        s.trigger("open");
    }

    void findingASavedMessageOpensItInTheMessageMaker()
    {
        Setup s;
        QVERIFY(!s.window->maker().setText("first text"));
        QVERIFY(s.window->maker().saveAs("First") == SaveOutcome::Saved);
        s.dialogs.answers = {runtime::Button::No}; // the text typed before the save still counts as a change
        s.trigger("new");
        QVERIFY(s.session.tools().start("MakeInput", [&] { return s.window.get(); }) ==
                runtime::ToolRegistry::StartOutcome::Started);
        QVERIFY(s.session.tools().showItem("MakeInput", {"first", {}, 0}));
        QCOMPARE(s.window->maker().message().text(Mes::Description), std::string("First"));
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("first text"));
        QVERIFY(!s.window->isModified());
        QVERIFY(!s.session.tools().showItem("MakeInput", {"No such message", {}, 0}));
        QCOMPARE(s.window->maker().message().text(Mes::Description), std::string("First"));
    }

    void renamingLoadsFromThePopupAndSwitchesOffWhenBlank()
    {
        Setup s;
        s.window->setPopupCode([](const std::string& type, const std::string&, std::size_t) {
            return type == "RENAME BUTTON" ? std::string("Save,Discard,Cancel") : std::string();
        });
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Rename Message Buttons"));
            // One underlined letter each, no literal ampersand beside it.
            for (int index = 1; index <= Mes::ButtonCount; ++index) {
                const QString text =
                    child<QCheckBox>(d, qPrintable(QStringLiteral("button%1").arg(index)))->text();
                QCOMPARE(text.count(QLatin1Char('&')), 1);
                QVERIFY2(text.startsWith(QLatin1Char('&')), qPrintable(text));
            }
            click(d, "load");
            QCOMPARE(child<QLineEdit>(d, "name2")->text(), QStringLiteral("Discard"));
            child<QCheckBox>(d, "button2")->click();
            click(d, "ok");
        });
        click(s.window.get(), "rename");
        const runtime::Record& r = s.window->maker().message();
        QCOMPARE(r.number(Mes::RenameButtons), std::int64_t(1));
        QCOMPARE(r.text(Mes::ButtonName, 1), std::string("Save"));
        QVERIFY(buttonChosen(r, 2));
        QVERIFY(child<QPushButton>(s.window.get(), "rename")->property("renaming").toBool());
        QCOMPARE(child<QRadioButton>(s.window.get(), "default2")->text(), QStringLiteral("Yes"));

        onNextDialog([](QDialog* d) {
            click(d, "blank");
            click(d, "ok");
        });
        click(s.window.get(), "rename");
        QCOMPARE(s.window->maker().message().number(Mes::RenameButtons), std::int64_t(0));
        QVERIFY(!child<QPushButton>(s.window.get(), "rename")->property("renaming").toBool());
    }

    void quickAndMiscellaneousInsertsAndDroppedFieldsGoInAtTheCaret()
    {
        Setup s;
        s.window->setPopupCode([](const std::string& type, const std::string& conversions, std::size_t) {
            return type == "MSG{Q}" && conversions == "|" ? std::string("{CLIP(^)}") : std::string();
        });
        s.text()->setPlainText(QStringLiteral("Hi there"));
        s.text()->setRecordCaret(3);
        click(s.window.get(), "quickInsert");
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("Hi {CLIP()} there"));
        QCOMPARE(s.text()->recordCaret(), 9);

        // An insert record added through the browse, then chosen with Select.
        onNextDialog([](QDialog* d) {
            onNextDialog([](QDialog* form) {
                QCOMPARE(form->windowTitle(), QStringLiteral("Adding Insert Record"));
                child<QLineEdit>(form, "text")->setText(QStringLiteral("Glo:User"));
                child<QCheckBox>(form, "curly")->setChecked(true);
                child<QCheckBox>(form, "clip")->setChecked(true);
                click(form, "ok");
            });
            click(d, "insert");
            QCOMPARE(child<runtime::BrowseList>(d, "insertList")->topLevelItemCount(), 1);
            click(d, "select");
        });
        s.text()->setPlainText(QString());
        click(s.window.get(), "miscInsert");
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("{CLIP(Glo:User)}"));

        s.session.draggedFields() = {{"Cus:Name", "CSTRING(31)", ""}, {"Cus:City", "STRING(20)", ""}};
        s.text()->setPlainText(QString());
        s.window->show();
        QMimeData mime;
        mime.setData(QString::fromLatin1(config::DraggedFieldsMime), "DicV");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.text()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(s.text()->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string("{Cus:Name}{CLIP(Cus:City)}"));
    }

    void tickingButtonsMovesNoOtherControl()
    {
        Setup s;
        s.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        auto* text = s.text();
        auto* loop = child<QCheckBox>(s.window.get(), "loop");
        const QRect textBefore = text->geometry();
        const QPoint loopBefore = loop->mapTo(s.window.get(), QPoint());
        for (const char* button : {"button2", "button3", "button4", "button5"}) {
            child<QCheckBox>(s.window.get(), button)->click();
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCOMPARE(text->geometry(), textBefore);
            QCOMPARE(loop->mapTo(s.window.get(), QPoint()), loopBefore);
        }
        QVERIFY(child<QRadioButton>(s.window.get(), "default4")->isVisible());
    }

    void theTextBoxRefusesWhatWouldPassItsLimit()
    {
        Setup s;
        s.text()->setPlainText(QString(999, QLatin1Char('a')));
        s.text()->moveCursor(QTextCursor::End);
        QTest::keyClick(s.text(), Qt::Key_Return); // a line end takes two characters in the record
        QCOMPARE(s.window->maker().message().text(Mes::Text), std::string(999, 'a'));
        QTest::keyClicks(s.text(), QStringLiteral("b"));
        QCOMPARE(s.window->maker().message().text(Mes::Text).size(), std::size_t(1000));
    }

    void aSecondStartActivatesTheRunningWindow()
    {
        Setup s;
        runtime::ToolRegistry& tools = s.session.tools();
        MakeInputWindow* first = nullptr;
        QCOMPARE(tools.start("MakeInput", [&] { return first = MakeInputWindow::open(s.session); }),
                 runtime::ToolRegistry::StartOutcome::Started);
        int created = 0;
        QCOMPARE(tools.start("MakeInput",
                             [&] {
                                 ++created;
                                 return MakeInputWindow::open(s.session);
                             }),
                 runtime::ToolRegistry::StartOutcome::Activated);
        QCOMPARE(created, 0);
        QCOMPARE(s.session.files().useCount("MESSAGE"), 2); // the fixture's window and the tool
        delete first;
        QCOMPARE(s.session.files().useCount("MESSAGE"), 1);
        QVERIFY(!tools.isRunning("MakeInput"));
    }
};

QTEST_MAIN(MakeInputWindowTest)
#include "MakeInputWindowTest.moc"
