#include "config/testing/ScratchSession.h"
#include "runtime/ui/testing/WidgetDriving.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/ui/CodeStoreBrowse.h"
#include "utilities/ui/CodeStoreForm.h"
#include "utilities/ui/CodeStoreMerge.h"
#include "utilities/ui/DataExchangeActions.h"

#include "data/DataFileNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using namespace kestrix;
using namespace kestrix::utilities;
using namespace kestrix::runtime::testing;

namespace {

struct Setup : config::testing::ScratchSession
{
    data::DataFileUse snippets{session.files(), data::FileName::CodeLibrary, snippetLayout()};
    data::DataFileUse types{session.files(), data::FileName::CodeTypes, codeTypeLayout()};
    std::unique_ptr<CodeStoreBrowse> window{new CodeStoreBrowse(session, *snippets.file(), *types.file())};
};

} // namespace

class CodeLibraryWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void browseButtonsAndSourceBox()
    {
        Setup s;
        QCOMPARE(s.window->windowTitle(), QStringLiteral("Code Library"));
        const std::pair<const char*, const char*> tips[] = {{"insertType", "Add New Type"},
                                                            {"changeType", "Change Type"},
                                                            {"deleteType", "Delete Type and all code"},
                                                            {"insert", "Add new code snippet"},
                                                            {"change", "Change code snippet"},
                                                            {"delete", "Delete code snippet"},
                                                            {"toClip", "Copy Code to Clipboard"},
                                                            {"clipMin", "Copy Code and Minimize"}};
        for (const auto& [name, tip] : tips)
            QCOMPARE(child<QPushButton>(s.window.get(), name)->toolTip(), QString::fromLatin1(tip));
        QVERIFY(s.window->sourceBox()->isReadOnly());
        QVERIFY(s.window->sourceBox()->font().fixedPitch() ||
                QFontInfo(s.window->sourceBox()->font()).fixedPitch());
    }

    void theFilterNarrowsTheSnippetsInTheirOrderAndAFindSelectsOne()
    {
        Setup s;
        CodeLibrary& library = s.window->library();
        QVERIFY(library.addType("Files"));
        QVERIFY(library.addType("Loops"));
        for (const char* name : {"Close", "Open", "Open shared", "Set up"})
            QVERIFY(library.addSnippet({"Files", name, std::string("  ") + name + "(File)"}));
        QVERIFY(library.addSnippet({"Loops", "Every record", "LOOP\r\n  NEXT(File)\r\nEND"}));
        s.window->reloadTypes();
        QTreeWidget* list = s.window->snippetList();
        auto* filter = child<QLineEdit>(s.window.get(), "filter");
        QVERIFY(filter);

        list->setCurrentItem(list->topLevelItem(0));
        QCOMPARE(s.window->sourceBox()->toPlainText(), QStringLiteral("  Close(File)"));
        // Matched in either shown column, in the list's name order.
        QTest::keyClicks(filter, QStringLiteral("OPEN"));
        QCOMPARE(treeColumn(list, 0, true), (QStringList{"Open", "Open shared"}));
        // The highlighted snippet was left out: the source box no longer shows it.
        QCOMPARE(s.window->sourceBox()->toPlainText(), QString());
        filter->setText(QStringLiteral("p"));
        QCOMPARE(treeColumn(list, 0, true), (QStringList{"Open", "Open shared", "Set up"}));
        // Another type is filtered as it is filled.
        filter->setText(QStringLiteral("open"));
        s.window->typeList()->setCurrentItem(s.window->typeList()->topLevelItem(1));
        QVERIFY(treeColumn(list, 0, true).isEmpty());
        filter->setText(QStringLiteral("next("));
        QCOMPARE(treeColumn(list, 0, true), QStringList{"Every record"});
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(treeColumn(list, 0, true), QStringList{"Every record"});

        // Asked for a snippet of another type, the window moves there, out of a filter that hides it.
        filter->setText(QStringLiteral("record"));
        QVERIFY(s.session.tools().start("CodeStoreBrowse", [&] { return s.window.get(); }) ==
                runtime::ToolRegistry::StartOutcome::Started);
        QVERIFY(s.session.tools().showItem("CodeStoreBrowse", {"files", "open SHARED", 0}));
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(s.window->typeList()->currentItem()->text(0), QStringLiteral("Files"));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("Open shared"));
        QCOMPARE(s.window->sourceBox()->toPlainText(), QStringLiteral("  Open shared(File)"));
        QVERIFY(!s.session.tools().showItem("CodeStoreBrowse", {"Files", "Missing", 0}));
        QVERIFY(!s.session.tools().showItem("CodeStoreBrowse", {"Nothing", "Open", 0}));
    }

    void addingTypeAndSnippetThroughTheForms()
    {
        Setup s;
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Update Code Types"));
            QCOMPARE(child<QLabel>(d, "action")->text(), QStringLiteral("Type Will Be Added"));
            QLineEdit* type = child<QLineEdit>(d, "type");
            QTest::keyClicks(type, QStringLiteral("FilesTooLongName"));
            QCOMPARE(type->text(), QStringLiteral("FilesTooLo")); // ten characters can be typed, no more
            type->setText(QStringLiteral("Files"));
            click(d, "ok");
        });
        click(s.window.get(), "insertType");
        QCOMPARE(treeColumn(s.window->typeList()), QStringList{QStringLiteral("Files")});

        // A type that is not there yet is offered for adding.
        s.dialogs.answers = {runtime::Button::Yes};
        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Adding Code Library"));
            child<QComboBox>(d, "type")->setCurrentText(QStringLiteral("Loops"));
            child<QLineEdit>(d, "name")->setText(QStringLiteral("Each record"));
            QPlainTextEdit* code = child<QPlainTextEdit>(d, "code");
            code->setPlainText(QStringLiteral("    LOOP\n      NEXT(\n    END"));
            QTextCursor cursor = code->textCursor();
            cursor.setPosition(static_cast<int>(code->toPlainText().indexOf(QLatin1Char('('))) + 1);
            code->setTextCursor(cursor);
            click(d, "merge");
            click(d, "leftJustify");
            QCOMPARE(code->toPlainText(), QStringLiteral("LOOP\n  NEXT(_{}_\nEND"));
            code->setPlainText(QStringLiteral("LOOP\n  NEXT(_{File}_)\nEND"));
            click(d, "ok");
        });
        click(s.window.get(), "insert");
        QCOMPARE(s.dialogs.shown.back().caption, std::string("Code Type not found"));
        QCOMPARE(s.dialogs.shown.back().text, std::string("Add new Code Type?"));
        QCOMPARE(treeColumn(s.window->typeList()),
                 (QStringList{QStringLiteral("Files"), QStringLiteral("Loops")}));
        QCOMPARE(s.window->typeList()->currentItem()->text(0), QStringLiteral("Loops"));
        QCOMPARE(treeColumn(s.window->snippetList()), QStringList{QStringLiteral("Each record")});
        QCOMPARE(s.window->sourceBox()->toPlainText(), QStringLiteral("LOOP\n  NEXT(_{File}_)\nEND"));
        QCOMPARE(s.window->library().allSnippets().at(0).code,
                 std::string("LOOP\r\n  NEXT(_{File}_)\r\nEND"));
    }

    void codeBoxRefusesTextBeyondItsFieldAndWrapIsRemembered()
    {
        Setup s;
        {
            CodeStoreForm form(s.window->library(), s.dialogs, std::nullopt, "T", s.session.windowsIni());
            form.codeBox()->setPlainText(QString(3999, QLatin1Char('x')));
            form.codeBox()->moveCursor(QTextCursor::End);
            QTest::keyClicks(form.codeBox(), QStringLiteral("yz"));
            QCOMPARE(form.codeBox()->toPlainText().size(), qsizetype(4000));
            QTest::keyClick(form.codeBox(), Qt::Key_Return); // a line end is two characters in the record
            QCOMPARE(form.codeBox()->toPlainText().size(), qsizetype(4000));
            QVERIFY(!form.wrap()->isChecked());
            form.wrap()->click();
        }
        QCOMPARE(s.session.windowsIni().value("CodeStoreForm", "WrapText"), std::string("1"));
        CodeStoreForm again(s.window->library(), s.dialogs, std::nullopt, "T", s.session.windowsIni());
        QVERIFY(again.wrap()->isChecked());
        QCOMPARE(again.codeBox()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }

    void copyAsksForMergeValuesAcceptsDroppedFieldsAndCancelCopiesNothing()
    {
        Setup s;
        QVERIFY(s.window->library().addType("Files"));
        QVERIFY(s.window->library().addSnippet(
            {"Files", "Open", "OPEN(_{File}_)\r\nSET(_{Key}_)\r\nCLOSE(_{file}_)"}));
        s.window->reloadTypes();
        s.session.draggedFields() = {{"CUS:ByName", "KEY", ""}};

        onNextDialog([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Enter/Drop Code Merge Data"));
            QCOMPARE(child<QLineEdit>(d, "value1")->text(), QStringLiteral("_{FILE}_"));
            QVERIFY(!d->findChild<QLineEdit*>(QStringLiteral("value3")));
            child<QLineEdit>(d, "value1")->setText(QStringLiteral("Customer"));
            QPushButton* drop = child<QPushButton>(d, "drop2");
            QMimeData mime;
            mime.setData(QString::fromLatin1(config::DraggedFieldsMime), "DicV");
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(drop, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(drop, &dropped);
            QCOMPARE(child<QLineEdit>(d, "value2")->text(), QStringLiteral("CUS:ByName"));
            click(d, "ok");
        });
        click(s.window.get(), "toClip");
        QCOMPARE(s.clip.text(), std::string("OPEN(Customer)\r\nSET(CUS:ByName)\r\nCLOSE(Customer)"));

        s.clip.setText("before");
        onNextDialog([](QDialog* d) { click(d, "cancel"); });
        QVERIFY(!s.window->copyToClipboard(false));
        QCOMPARE(s.clip.text(), std::string("before"));
    }

    void deletingATypeAsksAndTakesItsSnippets()
    {
        Setup s;
        QVERIFY(s.window->library().addType("A"));
        QVERIFY(s.window->library().addSnippet({"A", "one", "1"}));
        s.window->reloadTypes();
        s.dialogs.answers = {runtime::Button::No};
        click(s.window.get(), "deleteType");
        QCOMPARE(treeColumn(s.window->typeList()), QStringList{QStringLiteral("A")});
        s.dialogs.answers = {runtime::Button::Yes};
        click(s.window.get(), "deleteType");
        QVERIFY(treeColumn(s.window->typeList()).isEmpty());
        QVERIFY(s.window->library().allSnippets().empty());
    }

    void exportAndImportFromTheFileMenuCommands()
    {
        Setup s;
        QVERIFY(s.window->library().addType("A"));
        QVERIFY(s.window->library().addSnippet({"A", "one", "1"}));
        QVERIFY(exportUserData(s.session, "out.json"));
        QCOMPARE(s.dialogs.shown.back().caption, std::string("Data Export"));
        // Everything is here already: the question comes, and Replace is taken.
        s.dialogs.answers = {2};
        QVERIFY(importUserData(s.session, "out.json"));
        QCOMPARE(s.dialogs.shown.back().text,
                 std::string("Imported from out.json:|added 0, replaced 1, skipped 0"));
        s.dialogs.answers = {4}; // Cancel
        QVERIFY(!importUserData(s.session, "out.json"));
        QVERIFY(!importUserData(s.session, "missing.json"));
        QCOMPARE(s.dialogs.shown.back().caption, std::string("IMPORT ERROR"));
    }
};

QTEST_MAIN(CodeLibraryWindowsTest)
#include "CodeLibraryWindowsTest.moc"
