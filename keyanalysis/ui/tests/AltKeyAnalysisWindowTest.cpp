#include "keyanalysis/ui/AltKeyAnalysisWindow.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace kestrix;
using namespace kestrix::keyanalysis;

namespace {
std::string sample(const char* name)
{
    QFile file(QStringLiteral(KESTRIX_SOURCE_DIR "/samples/windows/") + QString::fromLatin1(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

// The tool's window over a clipboard holding `text`, in a data directory of its own.
struct Tool
{
    explicit Tool(const std::string& text, bool showDebugTabs = false)
        : window(dialogs, clip, FrameStore::inDataDirectory(), showDebugTabs, registry,
                 runtime::WindowPositionStore(runtime::IniFile("ktx5.INI")))
    {
        clip.setText(text);
    }

    runtime::testing::TempDir dir; // first: the window's files are made in it
    runtime::testing::ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    runtime::ToolRegistry registry;
    AltKeyAnalysisWindow window;
};
} // namespace

class AltKeyAnalysisWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theTabSelectionWindowLimitsTheAnalysis()
    {
        Tool tool(sample("CustomerForm.clw"), true);
        auto& [dir, dialogs, clip, registry, window] = tool;
        QWidget frame; // the window the user is working in while the tool opens
        frame.setGeometry(200, 150, 600, 400);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTimer::singleShot(0, [&frame] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Tab Selection"));
            QVERIFY(frame.geometry().contains(dialog->geometry().center())); // over it, not at the top-left
            auto* tabs = dialog->findChild<QTreeWidget*>(QStringLiteral("tabList"));
            QCOMPARE(tabs->topLevelItemCount(), 3);
            tabs->setCurrentItem(tabs->topLevelItem(1));
            for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
                if (b->text() == QStringLiteral("Select"))
                    b->click();
            }
        });
        window.readClipboard();
        QCOMPARE(window.analysis().queues().chosenTab, 2);
        QCOMPARE(window.tabs()->count(), 6); // with Read and Debug
        auto* alt = window.findChild<QTreeWidget*>(QStringLiteral("altList"));
        QVERIFY(alt->topLevelItemCount() > 0);
        QVERIFY(alt->findItems(QStringLiteral("&Name:"), Qt::MatchExactly, 1).isEmpty());

        dialogs.shown.clear();
        emit alt->itemDoubleClicked(alt->topLevelItem(0), 0);
        QCOMPARE(dialogs.captions(), std::vector<std::string>{"ALT KEY SUGGESTIONS"});
    }

    void rowColoursShowTheConflicts()
    {
        Tool tool("W WINDOW('Tricky && Co''s')\r\n BUTTON('&OK')\r\n BUTTON('&Open')\r\nEND\r\n");
        auto& [dir, dialogs, clip, registry, window] = tool;
        window.readClipboard();
        QCOMPARE(window.tabs()->tabText(0), QStringLiteral("&Alt Keys  (1 Conflict)"));
        auto* alt = window.findChild<QTreeWidget*>(QStringLiteral("altList"));
        QCOMPARE(alt->topLevelItem(0)->background(1).color(), QColor(0, 0xFF, 0xFF)); // aqua
        // The analysed window's title as it shows: "&&" is one ampersand, "''" one quote.
        QCOMPARE(window.windowTitle(), QStringLiteral("Window Key Analysis (Tricky & Co's)"));
    }

    void oneFilterBoxNarrowsTheListsOfEveryTab()
    {
        Tool tool(sample("OrderBrowse.clw"));
        auto& [dir, dialogs, clip, registry, window] = tool;
        window.readClipboard();
        auto* alt = window.findChild<QTreeWidget*>(QStringLiteral("altList"));
        auto* code = window.findChild<QListWidget*>(QStringLiteral("codeList"));
        auto* filter = window.findChild<QLineEdit*>(QStringLiteral("filter"));
        QVERIFY(alt && code && filter);
        const int rows = alt->topLevelItemCount();
        QVERIFY(rows > 2);
        QVERIFY(code->count() > 2);
        // A row stays when one of its columns holds the text in any case.
        const auto holds = [](QTreeWidgetItem* item, const QString& text) {
            for (int c = 0; c < item->columnCount(); ++c) {
                if (item->text(c).contains(text, Qt::CaseInsensitive))
                    return true;
            }
            return false;
        };
        const QString wanted = alt->topLevelItem(1)->text(1).remove(QLatin1Char('&')).toLower().left(4);
        QTest::keyClicks(filter, wanted);
        int shown = 0;
        for (int i = 0; i < rows; ++i) {
            QTreeWidgetItem* item = alt->topLevelItem(i);
            QCOMPARE(!item->isHidden(), holds(item, wanted));
            shown += item->isHidden() ? 0 : 1;
        }
        QVERIFY(shown > 0 && shown < rows);
        const QStringList codeShown = runtime::testing::listRows(code, true);
        QVERIFY(codeShown.size() < code->count());
        for (const QString& line : codeShown)
            QVERIFY2(line.contains(wanted, Qt::CaseInsensitive), qPrintable(line));

        // The rows keep their places: a double click on a shown row asks about that row.
        QTreeWidgetItem* second = alt->topLevelItem(1);
        QVERIFY(!second->isHidden());
        dialogs.shown.clear();
        emit alt->itemDoubleClicked(second, 0);
        QCOMPARE(dialogs.captions(), std::vector<std::string>{"ALT KEY SUGGESTIONS"});
        QCOMPARE(alt->currentItem(), second);

        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(runtime::testing::treeColumn(alt, 1, true), runtime::testing::treeColumn(alt, 1));
        QCOMPARE(runtime::testing::listRows(code, true), runtime::testing::listRows(code));
    }

    void aClipboardWithoutAWindowKeepsTheLastAnalysis()
    {
        Tool tool("plain text");
        auto& [dir, dialogs, clip, registry, window] = tool;
        window.readClipboard(); // nothing to keep yet: an empty analysis
        QCOMPARE(window.windowTitle(), QStringLiteral("Window Key Analysis ()"));
        clip.setText(sample("OrderBrowse.clw"));
        window.readClipboard();
        auto* alt = window.findChild<QTreeWidget*>(QStringLiteral("altList"));
        const int rows = alt->topLevelItemCount();
        QVERIFY(rows > 0);
        const QString caption = window.tabs()->tabText(1);

        dialogs.shown.clear();
        clip.setText("plain text");
        auto* read = window.findChild<QPushButton*>(QStringLiteral("readClipboard"));
        read->click();
        QCOMPARE(dialogs.captions(), std::vector<std::string>{"NO WINDOW FOUND"});
        QCOMPARE(window.windowTitle(), QStringLiteral("Window Key Analysis (Browse Orders)"));
        QCOMPARE(alt->topLevelItemCount(), rows);
        QCOMPARE(window.tabs()->tabText(1), caption);
    }
};

QTEST_MAIN(AltKeyAnalysisWindowTest)
#include "AltKeyAnalysisWindowTest.moc"
