#include "../../tests/LookupFixture.h"
#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "equates/ui/EquateHelperWindow.h"
#include "equates/ui/KeycodeHelperWindow.h"
#include "equates/ui/TemplateCodeWindow.h"
#include "runtime/IniFile.h"
#include "runtime/SystemClipboard.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace kestrix;
using kestrix::equates::testing::popupLine;
using runtime::testing::child;

namespace {

// Chooses entry `text` of the popup menu that the next action opens.
void chooseFromNextMenu(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
        QFAIL(qPrintable("no menu entry " + text));
    });
}

// The lookup files in a temporary data directory, then a session over them.
struct Setup
{
    equates::testing::LookupFiles files;
    runtime::MemoryClipboard clip;
    std::unique_ptr<config::Session> session;

    void start()
    {
        files.loadPopups({"TYPE=EQ:EVENT", popupLine("OF", "OF ^"),
                          popupLine("CASE EVENT()", "CASE EVENT()|OF ^"), "TYPE=EQUATE BROWSE",
                          popupLine("Name Only", "^"), "TYPE=KEYCODE FIND", popupLine("ALERT", "ALERT(^)"),
                          popupLine("CASE KEYCODE()", "CASE KEYCODE()|OF ^|END"), "TYPE=TPL SYMBOLS ABC",
                          popupLine("This Window", "%WindowManager")});
        files.equates.close();
        files.popups.close();
        session = std::make_unique<config::Session>(files.dialogs, clip);
    }
};

} // namespace

class LookupWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void keyPressesBecomeKeycodesAndToClipUsesTheMenu()
    {
        Setup s;
        s.files.add({"Keycode", "CtrlShiftA", "CtrlShiftA", 0x341, 1});
        s.files.add({"Keycode", "EscKey", "EscKey", 27, 2});
        s.start();
        std::unique_ptr<equates::KeycodeHelperWindow> window{equates::KeycodeHelperWindow::open(*s.session)};
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* name = child<QLineEdit>(window.get(), "keyName");
        auto* value = child<QLineEdit>(window.get(), "keycode");

        QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(name->text(), QStringLiteral("CtrlShiftA"));
        QCOMPARE(value->text(), QStringLiteral("833"));
        QCOMPARE(child<QLineEdit>(window.get(), "character")->text(), QStringLiteral("A"));

        // Escape reaches the tool, not the window: it stays open.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(name->text(), QStringLiteral("EscKey"));
        QVERIFY(window->isVisible());

        // A key the table does not name shows as its number.
        QTest::keyClick(window.get(), Qt::Key_LaunchMail, Qt::ShiftModifier);
        QCOMPARE(name->text(), QStringLiteral("256"));

        QTest::keyClick(window.get(), Qt::Key_Escape);
        chooseFromNextMenu(QStringLiteral("CASE KEYCODE()"));
        child<QPushButton>(window.get(), "toClip")->click();
        QCOMPARE(s.clip.text(), std::string("CASE KEYCODE()\r\nOF EscKey\r\nEND"));
        child<QCheckBox>(window.get(), "alt")->click();
        child<QPushButton>(window.get(), "specialEnter")->click();
        QCOMPARE(value->text(), QStringLiteral("1037"));
        child<QPushButton>(window.get(), "again")->click();
        QCOMPARE(s.clip.text(), std::string("OF 1037"));
    }

    void aRightClickMenuChoiceAndDoubleClickRepeats()
    {
        Setup s;
        s.files.addType("Event");
        s.files.addType("Cursor");
        s.files.add({"Event", "Accepted", "EVENT:Accepted", 1, 1});
        s.files.add({"Event", "Selected", "EVENT:Selected", 3, 2});
        s.files.add({"Cursor", "Drop", "CURSOR:Drop", 0, 3, "'~drop.cur'"});
        s.start();
        s.session->modes().clipAddMode = true;
        // Started as the frame starts it, so that the frame's broadcasts reach it.
        std::unique_ptr<equates::EquateHelperWindow> window;
        s.session->tools().start("EquateBrowse", [&] {
            window.reset(equates::EquateHelperWindow::open(*s.session));
            return window.get();
        });
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* table = window->table();
        auto* types = child<QListWidget>(window.get(), "types");
        QCOMPARE(types->count(), 2);
        QCOMPARE(table->model()->rowCount(), 1); // "Cursor" first
        types->setCurrentRow(1);
        QCOMPARE(table->model()->rowCount(), 2);
        QVERIFY(!child<QPushButton>(window.get(), "see")->isEnabled()); // no See for events

        // A double-click before any choice has nothing to repeat.
        window->repeatCode();
        QCOMPARE(s.files.dialogs.captions(), std::vector<std::string>{"CANNOT REPEAT"});

        const QRect first = table->visualRect(table->model()->index(0, 0));
        chooseFromNextMenu(QStringLiteral("CASE EVENT()"));
        // What a right-click delivers (the offscreen platform makes no context menu event of its own).
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, first.center(),
                                     table->viewport()->mapToGlobal(first.center()));
        QApplication::sendEvent(table->viewport(), &rightClick);
        QCOMPARE(s.clip.text(), std::string("CASE EVENT()\r\nOF EVENT:Accepted "));
        const QRect second = table->visualRect(table->model()->index(1, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(s.clip.text(), std::string("CASE EVENT()\r\nOF EVENT:Accepted \r\nOF EVENT:Selected "));

        // The search moves to the first name from what is typed.
        QTest::keyClicks(child<QLineEdit>(window.get(), "search"), QStringLiteral("se"));
        QCOMPARE(window->currentEquate()->name, std::string("EVENT:Selected"));

        // A cursor value without bytes says why nothing shows.
        child<QListWidget>(window.get(), "types")->setCurrentRow(0);
        auto* see = child<QPushButton>(window.get(), "see");
        QCOMPARE(see->text(), QStringLiteral("&See Cursor"));
        see->click();
        QCOMPARE(s.files.dialogs.captions().back(), std::string("NO CURSOR"));

        // A load of the equates closes the window, and the widths stay for the next time.
        table->setColumnWidth(0, 99);
        QPointer<equates::EquateHelperWindow> open = window.release();
        s.session->tools().broadcast(runtime::ToolEvent::EquatesLoading);
        QTRY_VERIFY(!open);
        QCOMPARE(s.session->listLayouts()
                     .restore("EquateBrowse", "ListEquateColumnWidths", 1)
                     .value_or("")
                     .substr(0, 6),
                 std::string("099081"));
    }

    void theFilterBoxReadsOnlyMatchingEquatesAndTheSearchStillLocates()
    {
        Setup s;
        s.files.addType("Color");
        s.files.addType("Event");
        // More rows than a page, so kept rows come from reads further on in the key.
        for (int i = 0; i < 130; ++i) {
            const std::string name = (i % 10 == 7 ? "Teal" : "Shade") + std::to_string(1000 + i);
            s.files.add({"Color", name, "COLOR:" + name, 1000 + i, i + 1});
        }
        s.files.add({"Event", "Accepted", "EVENT:Accepted", 1, 200});
        s.start();
        std::unique_ptr<equates::EquateHelperWindow> window;
        s.session->tools().start("EquateBrowse", [&] {
            window.reset(equates::EquateHelperWindow::open(*s.session));
            return window.get();
        });
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* table = window->table();
        auto* filter = child<QLineEdit>(window.get(), "filter");
        QVERIFY(filter);
        child<QComboBox>(window.get(), "sort")->setCurrentIndex(2); // by value
        QTest::keyClicks(filter, QStringLiteral("tEAL"));
        QCOMPARE(table->model()->rowCount(), 13);
        QCOMPARE(window->currentEquate()->name, std::string("COLOR:Teal1007"));
        QCOMPARE(table->model()->index(12, 0).data().toString(), QStringLiteral("Teal1127"));
        // The search locates among the kept rows, in the list's sort.
        QTest::keyClicks(child<QLineEdit>(window.get(), "search"), QStringLiteral("1050"));
        QCOMPARE(window->currentEquate()->name, std::string("COLOR:Teal1057"));
        const std::int64_t teal1057 = window->currentEquate()->position;

        // Esc clears the filter: every row is back, from the start of the type.
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(window->currentEquate()->name, std::string("COLOR:Shade1000"));
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("Shade1001"));

        // Asked to show an equate under another filter and type, it drops the filter and selects it.
        QTest::keyClicks(filter, QStringLiteral("accepted"));
        QCOMPARE(table->model()->rowCount(), 0);
        QVERIFY(s.session->tools().showItem("EquateBrowse", {"Color", "COLOR:Teal1057", teal1057}));
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(child<QListWidget>(window.get(), "types")->currentItem()->text(), QStringLiteral("Color"));
        QCOMPARE(window->currentEquate()->name, std::string("COLOR:Teal1057"));
        // A position that holds another type's equate is not shown.
        QVERIFY(!s.session->tools().showItem("EquateBrowse", {"Event", "", teal1057}));
        QCOMPARE(window->currentEquate()->name, std::string("COLOR:Teal1057"));
    }

    void anEquatesFileNeverLoadedOpensEmptyAndSaysWhy()
    {
        Setup s;
        s.start();
        std::unique_ptr<equates::EquateHelperWindow> window{equates::EquateHelperWindow::open(*s.session)};
        QVERIFY(window);
        QCOMPARE(window->table()->model()->rowCount(), 0);
        QVERIFY(child<QLabel>(window.get(), "emptyNote")->text().contains(QStringLiteral("never loaded")));
        window->makeCode(QPoint());
        window->repeatCode();
        QVERIFY(s.files.dialogs.shown.empty()); // no row: nothing to do, nothing to say
    }

    void templateButtonsBuildTheCodeAtTheCaret()
    {
        Setup s;
        s.start();
        s.session->modes().abcMode = true;
        std::unique_ptr<equates::TemplateCodeWindow> window{equates::TemplateCodeWindow::open(*s.session)};
        QVERIFY(window);
        window->show();
        for (const char* name : {"word_IF", "word_LocalRequest", "word_=True", "word_END"})
            child<QPushButton>(window.get(), name)->click();
        chooseFromNextMenu(QStringLiteral("This Window"));
        child<QPushButton>(window.get(), "symbols")->click();
        QCOMPARE(window->code(),
                 std::string("IF  SELF.Request  =True  END\r\n %WindowManager  \r\n\r\n\r\n\r\n\r\n\r\n"));
        child<QPushButton>(window.get(), "toClip")->click();
        QCOMPARE(s.clip.text(), std::string("IF  SELF.Request  =True  END\r\n %WindowManager"));

        // Typing beyond the thousand characters the text holds does not take.
        auto* editor = window->editor();
        editor->setPlainText(QString(999, QLatin1Char('x')));
        QCOMPARE(window->code().size(), 999u);
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral("yz"));
        QCOMPARE(window->code().size(), 1000u);
        QCOMPARE(editor->toPlainText().size(), 1000);
        child<QPushButton>(window.get(), "word_IF")->click();
        QCOMPARE(s.files.dialogs.captions(), std::vector<std::string>{"CODE TOO LONG"});

        child<QPushButton>(window.get(), "new")->click();
        QCOMPARE(window->code(), std::string("\r\n\r\n\r\n\r\n\r\n\r\n"));
    }

    void templateCodeTakesTheConfiguredFontAndKeepsItsPlaceUnderItsProcedure()
    {
        Setup s;
        s.start();
        {
            std::unique_ptr<equates::TemplateCodeWindow> plain{equates::TemplateCodeWindow::open(*s.session)};
            QVERIFY(plain);
            QCOMPARE(plain->editor()->font().family(), QStringLiteral("Courier New"));
        }
        config::setFont(s.session->configuration(), config::FontRow::TemplateCode,
                        {"Lucida Console", 14, 0x0000FF, runtime::FontStyle::Italic});
        // Another row's font is not this window's.
        config::setFont(s.session->configuration(), config::FontRow::StringBuilder, {"Arial", 20, 0, 0});
        QPointer<equates::TemplateCodeWindow> window = equates::TemplateCodeWindow::open(*s.session);
        QVERIFY(window);
        window->show();
        QFont font = window->editor()->font();
        QCOMPARE(font.family(), QStringLiteral("Lucida Console"));
        QCOMPARE(font.pointSize(), 14);
        QVERIFY(font.italic());
        QCOMPARE(window->editor()->palette().color(QPalette::Text), QColor(255, 0, 0));

        // A changed configuration reaches the open window; "Default" goes back to the fixed font.
        config::setFont(s.session->configuration(), config::FontRow::TemplateCode, {"Default", 10, 0, 0});
        window->deliver(runtime::ToolEvent::ConfigurationChanged);
        QCOMPARE(window->editor()->font().family(), QStringLiteral("Courier New"));
        QVERIFY(!window->editor()->font().italic());

        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        const runtime::IniFile ini("ktx5.INI");
        QVERIFY(ini.hasEntry("TplEquates", "XPosit"));
        QVERIFY(!ini.hasEntry("TemplateCode", "XPosit"));
    }
};

QTEST_MAIN(LookupWindowsTest)
#include "LookupWindowsTest.moc"
