#include "utilities/ui/ErrorHelperWindow.h"
#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "config/testing/ScratchSession.h"
#include "runtime/ui/ToolShelf.h"
#include "runtime/ui/testing/WidgetDriving.h"
#include "utilities/ui/UtilityTools.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace kestrix;
using namespace kestrix::utilities;
using kestrix::runtime::testing::child;

namespace {

ErrorHelper sampleHelper()
{
    return ErrorHelper({{2, "NoFileErr", "File Not Found", "The file is not there."},
                        {32, "IsLockedErr", "File Is Already Locked", "Someone holds it."},
                        {35, "NoRecErr", "Record Not Found", ""},
                        {90, "FileSystemErr", "File System Error", ""}},
                       {{"File Access", 1, false, {90, 2}},
                        {"Record Access", 1, true, {35}},
                        {"Locking", 2, false, {32}},
                        {"Empty", 1, false, {}}});
}

QStringList codes(QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

QStringList shownCodes(QTreeWidget* list)
{
    return kestrix::runtime::testing::treeColumn(list, 0, true);
}

struct Setup : config::testing::ScratchSession
{
    ErrorHelperWindow window{session, sampleHelper()};
    QTreeWidget* list(const char* name) { return child<QTreeWidget>(&window, name); }
    void click(const char* name) { child<QPushButton>(&window, name)->click(); }
};

} // namespace

class ErrorHelperWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theFilterNarrowsEachCategorysErrorsAndAFindHighlightsOne()
    {
        Setup s;
        s.window.show();
        QTreeWidget* errors = s.list("errors");
        auto* filter = child<QLineEdit>(&s.window, "filter");
        QVERIFY(filter);
        QTest::keyClicks(filter, QStringLiteral("sYsTeM"));
        QCOMPARE(shownCodes(errors), QStringList{"90"});
        QTest::keyClick(filter, Qt::Key_Escape);
        QCOMPARE(shownCodes(errors), (QStringList{"90", "2"})); // the category's order is kept
        filter->setText(QStringLiteral("file"));
        QCOMPARE(shownCodes(errors), (QStringList{"90", "2"}));
        // The number column is searched too; another category is filtered as it is listed.
        filter->setText(QStringLiteral("3"));
        s.window.chooseCategory(4); // "All"
        QCOMPARE(shownCodes(errors), (QStringList{"32", "35"}));

        // A find moves to "All" for an error the category does not list, out of a filter that hides it.
        filter->setText(QStringLiteral("locked"));
        s.window.chooseCategory(0);
        QVERIFY(s.session.tools().start("ErrorHelper", [&] { return &s.window; }) ==
                runtime::ToolRegistry::StartOutcome::Started);
        QVERIFY(s.session.tools().showItem("ErrorHelper", {{}, {}, 35}));
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(child<QLabel>(&s.window, "heading")->text(), QStringLiteral("Errors for: All"));
        QCOMPARE(errors->currentItem()->text(0), QStringLiteral("35"));
        QCOMPARE(child<QPlainTextEdit>(&s.window, "notes")->toPlainText(), QString());
        // One the chosen category lists stays in it.
        QVERIFY(s.session.tools().showItem("ErrorHelper", {{}, {}, 2}));
        QCOMPARE(errors->currentItem()->text(0), QStringLiteral("2"));
        QCOMPARE(child<QLabel>(&s.window, "heading")->text(), QStringLiteral("Errors for: All"));
        QVERIFY(!s.session.tools().showItem("ErrorHelper", {{}, {}, 4242}));
    }

    void categoriesErrorsAndTheChosenList()
    {
        Setup s;
        s.window.show();
        QTreeWidget* categories = s.list("categories");
        QCOMPARE(categories->topLevelItemCount(), 4); // three top-level records and "All"
        QTreeWidgetItem* records = categories->topLevelItem(1);
        QCOMPARE(records->text(0), QStringLiteral("Record Access"));
        QCOMPARE(records->childCount(), 1);
        QVERIFY(!records->isExpanded()); // contracted
        QCOMPARE(categories->topLevelItem(3)->text(0), QStringLiteral("All"));

        QCOMPARE(child<QLabel>(&s.window, "heading")->text(), QStringLiteral("Errors for: File Access"));
        QCOMPARE(codes(s.list("errors")), (QStringList{"90", "2"}));
        categories->setCurrentItem(records->child(0));
        QCOMPARE(child<QLabel>(&s.window, "heading")->text(), QStringLiteral("Errors for: Locking"));
        QCOMPARE(codes(s.list("errors")), QStringList{"32"});
        s.list("errors")->setCurrentItem(s.list("errors")->topLevelItem(0));
        QCOMPARE(child<QPlainTextEdit>(&s.window, "notes")->toPlainText(),
                 QStringLiteral("Someone holds it."));
        emit s.list("errors")->itemDoubleClicked(s.list("errors")->topLevelItem(0), 0);

        categories->setCurrentItem(categories->topLevelItem(0));
        s.click("addAll");
        s.list("errors")->setCurrentItem(s.list("errors")->topLevelItem(1));
        s.click("add"); // 2 again: not twice
        QCOMPARE(codes(s.list("chosen")), (QStringList{"2", "32", "90"}));

        s.list("chosen")->setCurrentItem(s.list("chosen")->topLevelItem(1));
        s.click("remove");
        QCOMPARE(codes(s.list("chosen")), (QStringList{"2", "90"}));
        emit s.list("chosen")->itemDoubleClicked(s.list("chosen")->topLevelItem(1), 0);
        QCOMPARE(codes(s.list("chosen")), QStringList{"2"});

        child<QCheckBox>(&s.window, "elseStop")->click();
        child<QCheckBox>(&s.window, "errorFile")->click();
        s.session.configuration().setNumber(config::Cfg::EndComment, 0);
        s.click("toClip");
        QCOMPARE(s.clip.text(), std::string("CASE ERRORCODE()\r\n"
                                            "OF NoFileErr                           !2 File Not Found\r\n"
                                            "ELSE\r\n"
                                            "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR()) &|\r\n"
                                            "        '<13,10>'&CLIP(ERRORFILE()))\r\n"
                                            "END"));

        int minimized = 0;
        s.window.setFrameIconizer([&minimized] { ++minimized; });
        s.click("new");
        QCOMPARE(s.list("chosen")->topLevelItemCount(), 0);
        child<QCheckBox>(&s.window, "elseStop")->click();
        s.session.configuration().setNumber(config::Cfg::EndComment, 1);
        s.click("toClipMinimize");
        QCOMPARE(s.clip.text(), std::string("CASE ERRORCODE()\r\nEND !CASE Error"));
        QCOMPARE(minimized, 1);
        categories->setCurrentItem(categories->topLevelItem(3));
        s.click("addAll");
        s.click("removeAll");
        QCOMPARE(s.list("chosen")->topLevelItemCount(), 0);
    }

    void cwHelpOpensTheIdesHelpFile()
    {
        Setup s;
        std::vector<std::string> opened;
        s.window.setDocumentOpener([&opened](const std::string& path) {
            opened.push_back(path);
            return true;
        });
        s.session.configuration().setText(config::Cfg::CwPath, "Clarion");
        s.click("cwHelp");
        QCOMPARE(s.dialogs.captions(), std::vector<std::string>{"NO CW HELP"});
        QVERIFY(opened.empty());
        std::filesystem::create_directories("Clarion/BIN");
        std::ofstream("Clarion/BIN/C5Help.HLP") << "help";
        s.click("cwHelp");
        QCOMPARE(opened.size(), std::size_t(1));
        QVERIFY(opened[0].ends_with("C5Help.HLP"));
    }

    void theToolOpensOnTheDeliveredList()
    {
        runtime::testing::TempDir dir;
        std::filesystem::copy_file(KESTRIX_SOURCE_DIR "/resources/data/ERRORS5.TXT", "ERRORS5.TXT");
        runtime::testing::ScriptedDialogs dialogs;
        config::Session session{dialogs};
        runtime::ToolShelf shelf;
        registerUtilityTools(shelf, session);
        std::unique_ptr<runtime::ToolWindow> window(
            shelf.find("ErrorHelper")->open(runtime::StartReason::FromMenu));
        QVERIFY(window);
        QVERIFY(dialogs.shown.empty());
        auto* errors = window->findChild<QTreeWidget*>(QStringLiteral("errors"));
        QVERIFY(errors->topLevelItemCount() > 5);
        QCOMPARE(session.files().useCount("Errors5"), 1);
        window.reset();
        QCOMPARE(session.files().useCount("Errors5"), 0);

        std::unique_ptr<runtime::ToolWindow> strings(
            shelf.find("StringFmt")->open(runtime::StartReason::FromMenu));
        QVERIFY(strings);
        QCOMPARE(strings->findChild<QComboBox*>(QStringLiteral("variable"))->count(), 8);
    }
};

QTEST_MAIN(ErrorHelperWindowTest)
#include "ErrorHelperWindowTest.moc"
