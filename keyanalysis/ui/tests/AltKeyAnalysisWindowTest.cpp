#include "keyanalysis/ui/AltKeyAnalysisWindow.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
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
} // namespace

class AltKeyAnalysisWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theTabSelectionWindowLimitsTheAnalysis()
    {
        runtime::testing::TempDir dir;
        runtime::testing::ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        clip.setText(sample("CustomerForm.clw"));
        runtime::ToolRegistry registry;
        AltKeyAnalysisWindow window(dialogs, clip, FrameStore::inDataDirectory(), true, registry,
                                    runtime::WindowPositionStore(runtime::IniFile("ktx5.INI")));
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
        runtime::testing::TempDir dir;
        runtime::testing::ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        clip.setText("W WINDOW('Tricky && Co''s')\r\n BUTTON('&OK')\r\n BUTTON('&Open')\r\nEND\r\n");
        runtime::ToolRegistry registry;
        AltKeyAnalysisWindow window(dialogs, clip, FrameStore::inDataDirectory(), false, registry,
                                    runtime::WindowPositionStore(runtime::IniFile("ktx5.INI")));
        window.readClipboard();
        QCOMPARE(window.tabs()->tabText(0), QStringLiteral("&Alt Keys  (1 Conflict)"));
        auto* alt = window.findChild<QTreeWidget*>(QStringLiteral("altList"));
        QCOMPARE(alt->topLevelItem(0)->background(1).color(), QColor(0, 0xFF, 0xFF)); // aqua
        // The analysed window's title as it shows: "&&" is one ampersand, "''" one quote.
        QCOMPARE(window.windowTitle(), QStringLiteral("Window Key Analysis (Tricky & Co's)"));
    }

    void aClipboardWithoutAWindowKeepsTheLastAnalysis()
    {
        runtime::testing::TempDir dir;
        runtime::testing::ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        clip.setText("plain text");
        runtime::ToolRegistry registry;
        AltKeyAnalysisWindow window(dialogs, clip, FrameStore::inDataDirectory(), false, registry,
                                    runtime::WindowPositionStore(runtime::IniFile("ktx5.INI")));
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
