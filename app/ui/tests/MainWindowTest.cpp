#include "app/ui/MainWindow.h"
#include "app/DataDirectorySetup.h"
#include "app/ui/HelpViewer.h"
#include "app/ui/InstalledTools.h"
#include "app/ui/InstanceLock.h"
#include "clipboard/QueueFile.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/ToolShortcuts.h"
#include "config/ui/ConfigurationWindow.h"
#include "data/DataFileNames.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/ToolWindow.h"
#include "runtime/ui/testing/WidgetDriving.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <tuple>

using namespace kestrix;
using runtime::testing::ScriptedDialogs;

namespace {

// Presses OK (or Cancel) in the Configuration window as soon as it opens.
void answerConfiguration(bool ok, int* opened)
{
    QTimer::singleShot(0, [ok, opened] {
        auto* window = qobject_cast<config::ConfigurationWindow*>(QApplication::activeModalWidget());
        if (!window)
            return;
        ++*opened;
        if (auto* path = window->findChild<QLineEdit*>(QStringLiteral("CWPATH")))
            path->setText(QStringLiteral(KESTRIX_SOURCE_DIR "/samples/clarion"));
        if (ok)
            window->accept();
        else
            window->reject();
    });
}

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    return texts;
}

runtime::ToolWindow* makeTool(config::Session& session, const std::string& procedure)
{
    auto* window = new runtime::ToolWindow(procedure, session.tools(), session.positions());
    window->setWidget(new QLabel(QStringLiteral("tool")));
    return window;
}

// A frame over a data directory of its own, with scripted message boxes and a clipboard of its own.
struct Frame
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    config::Session session{dialogs, clip};
    app::MainWindow frame{session};
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aFirstRunAsksForTheConfigurationBeforeAnythingElse()
    {
        runtime::testing::TempDir dir;
        app::prepareDataDirectory();
        ScriptedDialogs dialogs;
        config::Session session(dialogs);
        app::MainWindow frame(session);
        int opened = 0;
        answerConfiguration(true, &opened);
        QCOMPARE(frame.start(), app::MainWindow::StartResult::Started);
        QCOMPARE(opened, 1);
        QVERIFY(std::filesystem::exists("config5.tps"));
        QVERIFY(std::filesystem::exists("Config.tps"));
        QCOMPARE(session.configuration().text(config::Cfg::Btn), std::string("Btn#"));
        QVERIFY2(dialogs.shown.empty(), dialogs.shown.empty() ? "" : dialogs.shown[0].text.c_str());
        // Both loaders ran on the new files.
        QVERIFY(session.files().file("Equates5.tps")->records() > 1000);
        QVERIFY(session.files().file("Config\\!PopData")->records() > 100);
        QCOMPARE(session.programIni().value("EquateLoad", "Version"), std::string("4"));
        QCOMPARE(session.programIni().value("PopupLoad", "Version"), std::string("4"));
        QVERIFY(frame.statusBar()->currentMessage().startsWith(QStringLiteral("Loaded ")));
        QVERIFY(frame.findAction(QStringLiteral("configuration"))->isEnabled()); // the frame is usable again
        // The first tip shows.
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(frame.mdiArea()->subWindowList().front()->windowTitle(), QStringLiteral("Tip of the Day"));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Kestrix"));
        // The splash, always on top, does not cover the tip's buttons: it is gone before the tip shows.
        const auto splashShown = [](const app::MainWindow& f) {
            const auto* splash = f.findChild<QDialog*>(QStringLiteral("About"));
            return splash && splash->isVisible();
        };
        QVERIFY(!splashShown(frame));
        frame.close();
        QVERIFY(session.positions().restore("Main").has_value());
        QCOMPARE(session.files().useCount("config5.tps"), 0);

        // The second start reads the record, opens no Configuration window and loads nothing again;
        // with tips switched off, no tip either.
        runtime::IniFile("KTX4.INI").setValue("TipOfTheDay", "ShowTips", "0");
        const auto loadedAt = std::filesystem::last_write_time("Equates5.tps");
        config::Session again(dialogs);
        app::MainWindow second(again);
        int openedAgain = 0;
        answerConfiguration(true, &openedAgain);
        QCOMPARE(second.start(), app::MainWindow::StartResult::Started);
        QCOMPARE(openedAgain, 0);
        QCOMPARE(std::filesystem::last_write_time("Equates5.tps"), loadedAt);
        QCOMPARE(second.mdiArea()->subWindowList().size(), 0);
        // With nothing opening at the start the splash shows, centred on the frame, until a tool opens.
        QVERIFY(splashShown(second));
        const QPoint offCentre = second.findChild<QDialog*>(QStringLiteral("About"))->geometry().center() -
                                 second.geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
        // Black on white inside its blue border, whatever the desktop's colours.
        auto* splash = second.findChild<QDialog*>(QStringLiteral("About"));
        const QImage look = splash->grab().toImage();
        QCOMPARE(QColor(look.pixel(0, 0)), QColor(0x2b, 0x57, 0x97));
        QCOMPARE(QColor(look.pixel(look.width() - 1, look.height() / 2)), QColor(0x2b, 0x57, 0x97));
        QCOMPARE(QColor(look.pixel(look.width() / 2, 3)), QColor(Qt::white));
        const auto labels = splash->findChildren<QLabel*>();
        QVERIFY(labels.size() >= 2);
        for (const QLabel* label : labels)
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        second.findAction(QStringLiteral("tipOfTheDay"))->trigger(); // from the menu it opens all the same
        QCOMPARE(second.mdiArea()->subWindowList().size(), 1);
        QVERIFY(!splashShown(second));
        second.close();
    }

    void cancellingTheFirstConfigurationEndsTheProgram()
    {
        Frame f;
        int opened = 0;
        answerConfiguration(false, &opened);
        QCOMPARE(f.frame.start(), app::MainWindow::StartResult::Cancelled);
        QCOMPARE(opened, 1);
    }

    void anUnusableDataFileStopsTheStart()
    {
        runtime::testing::TempDir dir;
        std::ofstream("config5.tps") << std::string(100, 'z');
        ScriptedDialogs dialogs;
        config::Session session(dialogs);
        app::MainWindow frame(session);
        QCOMPARE(frame.start(), app::MainWindow::StartResult::Halted);
        QCOMPARE(dialogs.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
        QCOMPARE(std::filesystem::file_size("config5.tps"), 100u);
    }

    void menusAndToolbarAreInTheirOrder()
    {
        Frame f;
        QStringList titles;
        for (QAction* a : f.frame.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"&File", "&Tools", "&Dictionary", "&Settings", "&Window", "&Help"}));
        QCOMPARE(menuTexts(f.frame.menuBar()->actions()[1]->menu()),
                 (QStringList{"&Message Maker", "&String Builder", "&Template Code", "&Error Helper",
                              "&Keycode Helper", "E&quate Helper", "&Color Designer", "Code &Library",
                              "&Map Viewer", "&Window Key Analysis", "&ASCII Table", "&Help Organizer",
                              "Stick &Note", "Template Registrar"}));
        QCOMPARE(menuTexts(f.frame.menuBar()->actions()[3]->menu()),
                 (QStringList{"&Configuration", "&Message Inserts", "Load &Equates", "Load &Popups",
                              "Single &Thread Only", "Clipboard &Add Mode", "&Generate ABC Code"}));
        QCOMPARE(menuTexts(f.frame.menuBar()->actions()[4]->menu()),
                 (QStringList{"T&ile", "Tile &Vertical", "Tile &Horizontal", "&Cascade", "&Arrange Icons",
                              "&Minimize All", "&Restore All", "&Close All"}));
        QStringList tips;
        for (QAction* a : f.frame.toolBar()->actions()) {
            if (!a->isSeparator())
                tips << a->toolTip();
        }
        QCOMPARE(tips, (QStringList{"Message Maker", "String Builder", "Template Code", "Error Helper",
                                    "Keycode Helper", "Equate Helper", "Color Designer", "Code Library",
                                    "Open Dictionary, for import use menu", "Map Viewer",
                                    "Window Key Analysis", "ASCII Table", "Help Organizer", "Stick Note",
                                    "Toggle Clipboard Change/Add Mode", "Erase Clipboard",
                                    "View Clipboard Queue", "Toggle ABC/CW2 Template Family"}));
        // Tools not built yet are disabled; the built ones are not.
        QVERIFY(f.frame.findAction(QStringLiteral("tool_AltKeyAnalysis"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("button_AltKeyAnalysis"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("tool_MakeInput"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("messageInserts"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("tool_TemplateRegistrar"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("tool_StringFmt"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("button_ErrorHelper"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("tool_HelpBrowse"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("button_HelpBrowse"))->isEnabled());
        QVERIFY(f.frame.findAction(QStringLiteral("button_dictionaryOpen"))->isEnabled());
        for (QAction* a : f.frame.toolBar()->actions())
            QVERIFY2(a->isSeparator() || !a->icon().isNull(), qPrintable(a->toolTip()));
    }

    void aToolButtonDoesWhatItsMenuItemDoes()
    {
        Frame f;
        int created = 0;
        f.frame.registerTool("MakeInput", [&](config::Session& s) {
            ++created;
            return makeTool(s, "MakeInput");
        });
        QAction* button = f.frame.findAction(QStringLiteral("button_MakeInput"));
        QVERIFY(button->isEnabled());
        button->trigger();
        button->trigger(); // single-instance: activates the open copy
        QCOMPARE(created, 1);
        QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 1);

        f.frame.findAction(QStringLiteral("singleThreadOnly"))->trigger(); // off
        f.frame.findAction(QStringLiteral("tool_MakeInput"))->trigger();
        QCOMPARE(created, 2);
        QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 2);

        f.frame.findAction(QStringLiteral("minimizeAll"))->trigger();
        for (QMdiSubWindow* w : f.frame.mdiArea()->subWindowList())
            QVERIFY(w->isMinimized());
        f.frame.findAction(QStringLiteral("restoreAll"))->trigger();
        for (QMdiSubWindow* w : f.frame.mdiArea()->subWindowList())
            QVERIFY(!w->isMinimized());
        f.frame.findAction(QStringLiteral("tileVertical"))->trigger();
        const auto windows = f.frame.mdiArea()->subWindowList();
        QCOMPARE(windows[0]->geometry().top(), windows[1]->geometry().top());
        f.frame.findAction(QStringLiteral("tileHorizontal"))->trigger();
        QCOMPARE(windows[0]->geometry().left(), windows[1]->geometry().left());
        f.frame.findAction(QStringLiteral("closeAll"))->trigger();
        QTRY_COMPARE(f.frame.mdiArea()->subWindowList().size(), 0);
        QVERIFY(!f.session.tools().isRunning("MakeInput"));
    }

    void modeTogglesFollowTheirRules()
    {
        Frame f;
        int reputs = 0;
        f.frame.setClipboardActions([&] { ++reputs; }, [] {}, [] {});
        QVERIFY(f.frame.findAction(QStringLiteral("button_eraseClipboard"))->isEnabled());

        f.frame.findAction(QStringLiteral("clipAddMode"))->trigger();
        QVERIFY(f.session.modes().clipAddMode);
        QCOMPARE(reputs, 1);
        f.frame.findAction(QStringLiteral("button_clipMode"))->trigger();
        QVERIFY(!f.session.modes().clipAddMode);
        QCOMPARE(reputs, 1); // the button does not re-put
        QVERIFY(!f.frame.findAction(QStringLiteral("clipAddMode"))->isChecked());

        QVERIFY(f.session.modes().abcMode);
        f.frame.findAction(QStringLiteral("button_abcMode"))->trigger();
        QVERIFY(!f.session.modes().abcMode);
        QCOMPARE(f.session.programIni().value("ABC", "ABCMode"), std::string("0"));
        f.frame.findAction(QStringLiteral("abcMode"))->trigger();
        QCOMPARE(f.session.programIni().value("ABC", "ABCMode"), std::string("1"));
    }

    void theClipboardCommandsWorkOnTheQueue()
    {
        Frame f;
        std::vector<std::string> code{"first"};
        f.session.putCode(code);
        f.frame.findAction(QStringLiteral("button_clipMode"))->trigger(); // to add mode, no re-put
        f.clip.setText("copied elsewhere");
        std::vector<std::string> more{"second"};
        f.session.putCode(more);
        QCOMPARE(f.clip.text(), std::string("first\r\nsecond"));
        f.clip.setText("copied elsewhere");
        f.frame.findAction(QStringLiteral("button_clipMode"))->trigger(); // back to change mode: no re-put
        QCOMPARE(f.clip.text(), std::string("copied elsewhere"));
        f.frame.findAction(QStringLiteral("clipAddMode"))->trigger(); // the menu re-puts
        QCOMPARE(f.clip.text(), std::string("first\r\nsecond"));
        QCOMPARE(f.frame.findAction(QStringLiteral("button_clipMode"))->icon().cacheKey() != 0, true);

        f.frame.findAction(QStringLiteral("button_viewClipboard"))->trigger();
        f.frame.findAction(QStringLiteral("button_viewClipboard"))->trigger();
        QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 1);
        auto* view = f.frame.mdiArea()->subWindowList().front();
        QCOMPARE(view->windowTitle(), QStringLiteral("Clipboard Queue"));
        auto* rows = view->findChild<QListWidget*>(QStringLiteral("clipLines"));
        QCOMPARE(rows->count(), 2);
        QCOMPARE(rows->item(1)->text(), QStringLiteral("second"));

        // The open viewer follows the queue.
        std::vector<std::string> live{"live"};
        f.session.putCode(live);
        QCOMPARE(rows->count(), 3);
        QCOMPARE(rows->item(2)->text(), QStringLiteral("live"));

        // The filter box keeps the lines that hold its text, in the queue's order, as the queue grows.
        auto* filter = view->findChild<QLineEdit*>(QStringLiteral("filter"));
        QVERIFY(filter);
        QTest::keyClicks(filter, QStringLiteral("I"));
        QCOMPARE(runtime::testing::listRows(rows, true), (QStringList{"first", "live"}));
        std::vector<std::string> later{"fix", "end"};
        f.session.putCode(later);
        QCOMPARE(runtime::testing::listRows(rows, true), (QStringList{"first", "live", "fix"}));
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(runtime::testing::listRows(rows, true),
                 (QStringList{"first", "second", "live", "fix", "end"}));
        f.frame.findAction(QStringLiteral("button_eraseClipboard"))->trigger();
        QCOMPARE(f.clip.text(), std::string());
        QVERIFY(f.session.clipboardQueue().lines().empty());
        QCOMPARE(rows->count(), 0);
        QCOMPARE(f.frame.statusBar()->currentMessage(), QStringLiteral("The clipboard is empty"));
        std::vector<std::string> fresh{"third"};
        f.session.putCode(fresh); // add mode after erase: only the new code
        QCOMPARE(f.clip.text(), std::string("third"));
        QCOMPARE(rows->count(), 1);
        QCOMPARE(f.frame.statusBar()->currentMessage(), QStringLiteral("1 line of code on the clipboard"));
        view->close(); // the closed viewer hears no more
        std::vector<std::string> after{"fourth"};
        f.session.putCode(after);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.session.putCode(after);
    }

    void theWindowKeyAnalysisReadsTheClipboardAsItOpens()
    {
        runtime::testing::TempDir dir;
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        QFile sample(QStringLiteral(KESTRIX_SOURCE_DIR "/samples/windows/OrderBrowse.clw"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        clip.setText(sample.readAll().toStdString());
        config::Session session(dialogs, clip);
        app::MainWindow frame(session);
        frame.findAction(QStringLiteral("button_AltKeyAnalysis"))->trigger();
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        auto* window = frame.mdiArea()->subWindowList().front();
        QCOMPARE(window->windowTitle(), QStringLiteral("Window Key Analysis (Browse Orders)"));
        auto* tabs = window->findChild<QTabWidget*>();
        QCOMPARE(tabs->count(), 4); // no Read and Debug tabs without ktxtest.ini
        QCOMPARE(tabs->tabText(1), QStringLiteral("&Hot Keys  (1 Conflict)")); // CtrlC against Copy
        QVERIFY(dialogs.shown.empty());
    }

    void theMessageMakerOpensOnceAndItsHelpKeyReachesTheViewer()
    {
        Frame f;
        f.frame.findAction(QStringLiteral("button_MakeInput"))->trigger();
        QCOMPARE(f.frame.startTool("MakeInput"), runtime::ToolRegistry::StartOutcome::Activated);
        QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 1);
        auto* maker = f.frame.mdiArea()->subWindowList().front();
        QCOMPARE(maker->windowTitle(), QStringLiteral("Message Maker"));
        f.frame.findAction(QStringLiteral("messageInserts"))->trigger();
        QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 2);
        QCOMPARE(f.frame.mdiArea()->subWindowList().back()->windowTitle(),
                 QStringLiteral("Browse Message Inserts"));
        QVERIFY(f.dialogs.shown.empty());

        runtime::requestHelp(QStringLiteral("~Message_Maker"));
        auto* viewer = f.frame.findChild<app::HelpViewer*>();
        QVERIFY(viewer);
        QCOMPARE(viewer->currentPage(), QStringLiteral("message_maker.html"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Code Structure")));
    }

    void aToolRegisteredByItsFolderAppearsInTheMenuAndToolbar()
    {
        runtime::testing::TempDir dir;
        ScriptedDialogs dialogs;
        config::Session session(dialogs);
        runtime::ToolShelf tools = app::installedTools(session);
        int opened = 0;
        int fromMenu = 0;
        tools.add({"NewTool", runtime::ToolMenu::Tools, "&New Tool", "New Tool", "TBNOTE", "Ctrl+Shift+N"},
                  [&](runtime::StartReason reason) {
                      ++opened;
                      fromMenu += reason == runtime::StartReason::FromMenu ? 1 : 0;
                      return makeTool(session, "NewTool");
                  });
        tools.add({"NotYet", runtime::ToolMenu::Settings, "Not &Yet", "Not Yet", "TBNOTE"}); // not built
        app::MainWindow frame(session, std::move(tools));

        QMenu* toolsMenu = frame.menuBar()->actions()[1]->menu();
        QCOMPARE(menuTexts(toolsMenu).size(), 15);
        QCOMPARE(menuTexts(toolsMenu).back(), QStringLiteral("&New Tool")); // after the catalog's tools
        QAction* item = frame.findAction(QStringLiteral("tool_NewTool"));
        QVERIFY(item && item->isEnabled());
        QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
        QCOMPARE(menuTexts(frame.menuBar()->actions()[3]->menu()).at(2), QStringLiteral("Not &Yet"));
        QVERIFY(!frame.findAction(QStringLiteral("tool_NotYet"))->isEnabled());

        QStringList tips;
        for (QAction* a : frame.toolBar()->actions())
            tips << a->toolTip();
        QCOMPARE(tips.indexOf(QStringLiteral("New Tool")), tips.indexOf(QStringLiteral("Stick Note")) + 1);
        QCOMPARE(tips.indexOf(QStringLiteral("Not Yet")), tips.indexOf(QStringLiteral("New Tool")) + 1);
        QAction* button = frame.findAction(QStringLiteral("button_NewTool"));
        QVERIFY(button->isEnabled());
        QVERIFY(!frame.findAction(QStringLiteral("button_NotYet"))->isEnabled());
        button->trigger();
        QCOMPARE(opened, 1);
        QCOMPARE(fromMenu, 1);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QVERIFY(session.tools().isRunning("NewTool"));
        QCOMPARE(frame.startTool("NotYet"), runtime::ToolRegistry::StartOutcome::Refused);
    }

    void theEquatesReloadedBroadcastFollowsTheLoad()
    {
        Frame f;
        int loads = 0;
        f.frame.setEquateLoader([&] { ++loads; });
        f.frame.registerTool("MakeInput", [](config::Session& s) { return makeTool(s, "MakeInput"); });
        f.frame.findAction(QStringLiteral("tool_MakeInput"))->trigger();
        auto* listener = qobject_cast<runtime::ToolWindow*>(f.frame.mdiArea()->subWindowList().front());
        QVERIFY(listener);
        std::vector<int> loadsSeen;
        connect(listener, &runtime::ToolWindow::equatesReloaded, this, [&] { loadsSeen.push_back(loads); });
        f.frame.findAction(QStringLiteral("loadEquates"))->trigger();
        QCOMPARE(loadsSeen, std::vector<int>{1}); // told once, after the load
    }

    void theAnalysisDebugTabsComeFromTheCommandLineOption()
    {
        runtime::testing::TempDir dir;
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        config::Session session(dialogs, clip);
        std::ofstream("ktxtest.ini") << "[test]\ntest1=1\n"; // no longer read
        app::MainWindow plain(session);
        plain.findAction(QStringLiteral("button_AltKeyAnalysis"))->trigger();
        QCOMPARE(plain.mdiArea()->subWindowList().front()->findChild<QTabWidget*>()->count(), 4);

        config::Session second(dialogs, clip);
        app::ToolOptions options;
        options.analysisDebugTabs = true;
        app::MainWindow testing(second, app::installedTools(second, options));
        testing.findAction(QStringLiteral("button_AltKeyAnalysis"))->trigger();
        QCOMPARE(testing.mdiArea()->subWindowList().front()->findChild<QTabWidget*>()->count(), 6);
    }

    void everyToolWindowAndIconListEntryHasItsPictureAndDisabledButtonsLookAlike()
    {
        runtime::testing::TempDir dir;
        app::prepareDataDirectory();
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        config::Session session(dialogs, clip);
        app::MainWindow frame(session);
        QVERIFY(!QApplication::windowIcon().isNull()); // message boxes and dialogs show the program's
        QStringList opened;
        const runtime::ToolShelf installed = app::installedTools(session);
        for (const runtime::ToolRegistration& tool : installed.tools()) {
            if (!tool.open)
                continue;
            frame.startTool(tool.spec.procedure);
            for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
                QVERIFY2(w->testAttribute(Qt::WA_SetWindowIcon) && !w->windowIcon().isNull(),
                         qPrintable(w->windowTitle()));
                if (!opened.contains(w->windowTitle()))
                    opened << w->windowTitle();
            }
        }
        for (const char* title : {"Tip of the Day", "Browse Message Inserts", "Message Maker"}) {
            const bool found = std::any_of(opened.cbegin(), opened.cend(), [title](const QString& shown) {
                return shown.startsWith(QString::fromLatin1(title));
            });
            QVERIFY2(found, qPrintable(opened.join(QLatin1Char(','))));
        }

        auto* icons = frame.mdiArea()->findChild<QComboBox*>(QStringLiteral("icon"));
        QVERIFY(icons && icons->count() > 30);
        for (int i = 0; i < icons->count(); ++i)
            QVERIFY2(!icons->itemIcon(i).isNull(), qPrintable(icons->itemText(i)));

        // Disabled, every toolbar picture is grey in the same narrow band, whatever its colours.
        int lightest = 0;
        int darkest = 255;
        for (QAction* button : frame.toolBar()->actions()) {
            if (button->isSeparator() || button->icon().isNull())
                continue;
            const QImage image = button->icon().pixmap(QSize(16, 16), QIcon::Disabled).toImage();
            long sum = 0;
            long count = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    if (qAlpha(pixel) < 128)
                        continue;
                    QVERIFY2(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel),
                             qPrintable(button->toolTip()));
                    sum += qRed(pixel);
                    ++count;
                }
            }
            QVERIFY2(count > 0, qPrintable(button->toolTip()));
            const int mean = static_cast<int>(sum / count);
            lightest = std::max(lightest, mean);
            darkest = std::min(darkest, mean);
        }
        QVERIFY2(lightest - darkest <= 40, qPrintable(QStringLiteral("%1..%2").arg(darkest).arg(lightest)));
        frame.mdiArea()->closeAllSubWindows();
    }

    void arrangementsKeepTheFrameAndEveryToolWindowAtLeastItsMinimum()
    {
        Frame f;
        f.frame.resize(480, 360);
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame));
        for (const char* button : {"button_MakeInput", "button_AltKeyAnalysis", "button_viewClipboard"})
            f.frame.findAction(QString::fromLatin1(button))->trigger();
        f.frame.findAction(QStringLiteral("messageInserts"))->trigger();
        const QList<QMdiSubWindow*> windows = f.frame.mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 4);
        QCoreApplication::processEvents(); // the frame's layout settles before it is measured
        const QRect before = f.frame.geometry();
        for (const char* arrangement : {"tile", "tileVertical", "tileHorizontal", "cascade", "tile"}) {
            f.frame.findAction(QString::fromLatin1(arrangement))->trigger();
            QCoreApplication::processEvents();
            QCOMPARE(f.frame.geometry(), before);
            for (QMdiSubWindow* w : windows) {
                const QString where = QString::fromLatin1(arrangement) + QLatin1Char(' ') + w->windowTitle();
                const QSize needed = w->minimumSizeHint();
                QVERIFY2(w->width() >= needed.width() && w->height() >= needed.height(), qPrintable(where));
                QVERIFY2(w->minimumSize().width() >= needed.width(), qPrintable(where)); // nor by dragging
            }
        }
        // Tiled, no window lies on another.
        for (int i = 0; i < windows.size(); ++i) {
            for (int k = i + 1; k < windows.size(); ++k)
                QVERIFY(!windows[i]->geometry().intersects(windows[k]->geometry()));
        }
    }

    void fontsChosenInTheConfigurationApplyToOpenWindowsAtOnce()
    {
        Frame f;
        QVERIFY(f.session.files().acquire(data::FileName::Configuration, config::configLayout()));
        f.frame.findAction(QStringLiteral("button_MakeInput"))->trigger();
        f.frame.findAction(QStringLiteral("button_viewClipboard"))->trigger();
        auto* text = f.frame.mdiArea()->findChild<QWidget*>(QStringLiteral("text"));
        auto* lines = f.frame.mdiArea()->findChild<QListWidget*>(QStringLiteral("clipLines"));
        QVERIFY(text && lines);
        const QString viewerFamily = lines->font().family();

        f.dialogs.fontAnswers.push_back(runtime::FontSpec{"Courier", 17, 0, 400});
        f.dialogs.fontAnswers.push_back(runtime::FontSpec{"Serif", 15, 0, 400});
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<config::ConfigurationWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            auto* rows = window->findChild<QTreeWidget*>(QStringLiteral("fonts"));
            auto* font = window->findChild<QPushButton*>(QStringLiteral("rowFont"));
            rows->setCurrentItem(rows->topLevelItem(config::FontRow::MessageText - 1));
            font->click();
            rows->setCurrentItem(rows->topLevelItem(config::FontRow::ClipboardViewer - 1));
            font->click();
            window->accept();
        });
        QVERIFY(f.frame.runConfiguration());
        QCOMPARE(text->font().pointSize(), 17);
        QCOMPARE(lines->font().pointSize(), 15);

        // Back to "Default": the viewer has its fixed-pitch font again.
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<config::ConfigurationWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            auto* rows = window->findChild<QTreeWidget*>(QStringLiteral("fonts"));
            rows->setCurrentItem(rows->topLevelItem(config::FontRow::ClipboardViewer - 1));
            window->findChild<QPushButton*>(QStringLiteral("rowDefault"))->click();
            window->accept();
        });
        QVERIFY(f.frame.runConfiguration());
        QCOMPARE(lines->font().family(), viewerFamily);
        QCOMPARE(text->font().pointSize(), 17);
    }

    void exitAsksAboutUnsavedMessagesAndCancelKeepsTheProgram()
    {
        Frame f;
        f.frame.findAction(QStringLiteral("button_MakeInput"))->trigger();
        auto* maker = f.frame.mdiArea()->subWindowList().front();
        QTest::keyClicks(maker->findChild<QLineEdit*>(QStringLiteral("title")), QStringLiteral("Unsaved"));
        f.dialogs.answers = {runtime::Button::Cancel};
        f.frame.findAction(QStringLiteral("exit"))->trigger();
        QCOMPARE(f.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(f.dialogs.shown[0].text, std::string("Save changes?"));
        QVERIFY(f.session.tools().isRunning("MakeInput"));
        QVERIFY(!f.session.positions().restore("Main").has_value()); // the frame did not close
        f.dialogs.answers = {runtime::Button::No};
        QVERIFY(f.frame.close());
        QVERIFY(!f.session.tools().isRunning("MakeInput"));
    }

    // The program itself, started as a user or a script would.
    void optionsWorkWithoutADisplayAndAnUnattendedFirstRunWaitsForNoOne()
    {
        runtime::testing::TempDir dir;
        const auto run = [](const QStringList& arguments, bool display) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
            if (display)
                environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(KESTRIX_GUI_PROGRAM), arguments);
            program.waitForFinished(-1);
            return std::tuple{program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                              QString::fromLocal8Bit(program.readAllStandardOutput()),
                              QString::fromLocal8Bit(program.readAllStandardError())};
        };
        const auto [helpCode, help, helpErrors] = run({QStringLiteral("--help")}, false);
        QCOMPARE(helpCode, 0);
        QVERIFY(help.contains(QStringLiteral("--exit-after-start")));
        const auto [versionCode, version, versionErrors] = run({QStringLiteral("--version")}, false);
        QCOMPARE(versionCode, 0);
        QVERIFY(version.contains(QStringLiteral(KESTRIX_VERSION)));

        const QString data = QDir::current().absoluteFilePath(QStringLiteral("fresh"));
        const QStringList unattended{QStringLiteral("--data-dir"), data,
                                     QStringLiteral("--exit-after-start")};
        const auto [firstCode, firstOut, firstErrors] = run(unattended, true);
        QCOMPARE(firstCode, 0);
        QVERIFY(QFile::exists(data + QStringLiteral("/config5.tps")));
        QCOMPARE(runtime::IniFile((data + QStringLiteral("/KTX4.INI")).toStdString())
                     .value("PopupLoad", "Version"),
                 std::string("4"));

        // A second start on a data directory in use is refused with a word, and asks the running
        // program to bring its window forward.
        const app::InstanceLock running(data.toStdString());
        QVERIFY(running.acquired());
        QSignalSpy forward(&running, &app::InstanceLock::comeForwardRequested);
        const auto [secondCode, secondOut, secondErrors] = run(unattended, true);
        QCOMPARE(secondCode, 1);
        QVERIFY2(secondErrors.contains(QStringLiteral("Kestrix is already running on the data directory")),
                 qPrintable(secondErrors));
        QVERIFY2(secondErrors.contains(QStringLiteral("Its window has been brought forward")),
                 qPrintable(secondErrors));
        QVERIFY(forward.count() == 1 || forward.wait());
        QCOMPARE(forward.count(), 1);
    }

    void aSecondLockOnTheSameDirectoryIsRefusedUntilTheFirstIsGone()
    {
        runtime::testing::TempDir dir;
        auto first = std::make_unique<app::InstanceLock>(std::filesystem::current_path());
        QVERIFY(first->acquired());
        QVERIFY(first->refusal(false).empty());
        const app::InstanceLock second(std::filesystem::current_path());
        QVERIFY(!second.acquired());
        QVERIFY(second.refusal(false).find(std::filesystem::current_path().string()) != std::string::npos);

        // The second start's request brings the first program's frame forward.
        ScriptedDialogs dialogs;
        config::Session session(dialogs);
        app::MainWindow frame(session);
        QObject::connect(first.get(), &app::InstanceLock::comeForwardRequested, &frame,
                         &app::MainWindow::comeForward);
        frame.showMinimized();
        QVERIFY(frame.isMinimized());
        QSignalSpy forward(first.get(), &app::InstanceLock::comeForwardRequested);
        QVERIFY(second.askHolderToComeForward());
        QVERIFY(forward.wait());
        QVERIFY(!frame.isMinimized());
        QVERIFY(frame.isVisible());
        // Each request is taken once; another directory's program is not asked.
        std::filesystem::create_directory("other");
        const app::InstanceLock other(std::filesystem::current_path() / "other");
        QVERIFY(other.acquired());
        QSignalSpy otherForward(&other, &app::InstanceLock::comeForwardRequested);
        QVERIFY(second.askHolderToComeForward());
        QVERIFY(forward.wait());
        QCOMPARE(forward.count(), 2);
        QCOMPARE(otherForward.count(), 0);
        first.reset();
        QVERIFY(!second.askHolderToComeForward()); // nobody listens any more
        QVERIFY(app::InstanceLock(std::filesystem::current_path()).acquired());
    }

    void theActiveToolsKeysWinOverTheFramesMenus()
    {
        Frame f;
        f.frame.show();
        f.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.frame));
        f.frame.findAction(QStringLiteral("button_viewClipboard"))
            ->trigger(); // another tool with a window menu
        f.frame.findAction(QStringLiteral("button_MakeInput"))->trigger();
        auto* maker = f.frame.mdiArea()->activeSubWindow();
        QVERIFY(maker);
        QCOMPARE(maker->windowTitle(), QStringLiteral("Message Maker"));
        const auto menus = [&f] {
            QStringList texts;
            for (QAction* a : f.frame.menuBar()->actions())
                texts << a->text();
            return texts;
        };
        // Its Title, Default Button and Code Structure take T, D and S.
        QCOMPARE(menus(), (QStringList{"&File", "Tools", "Dictionary", "Settings", "&Window", "&Help"}));
        auto* text = maker->findChild<QWidget*>(QStringLiteral("text"));
        text->setFocus();
        QTest::keyClick(text, Qt::Key_T, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), maker->findChild<QWidget*>(QStringLiteral("title")));
        QVERIFY(!f.frame.menuBar()->activeAction());

        // Ctrl+W is the tool's Open As New, not the window menu's Close.
        auto opened = std::make_shared<QString>();
        QTimer::singleShot(0, [opened] {
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                *opened = open->windowTitle();
                open->reject();
            }
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(*opened, QStringLiteral("Open Message"));
        QVERIFY(f.session.tools().isRunning("MakeInput"));
        QVERIFY(!maker->isHidden());

        // F10 reaches the menus all the same.
        f.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.frame)); // back from the modal Open Message
        text->setFocus();
        QTest::keyClick(text, Qt::Key_F10);
        QVERIFY(f.frame.menuBar()->activeAction());
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();

        maker->close();
        f.frame.mdiArea()->setActiveSubWindow(nullptr);
        QCOMPARE(menus(), (QStringList{"&File", "&Tools", "&Dictionary", "&Settings", "&Window", "&Help"}));
    }

    void everyToolHasItsOwnKeyInTheMenuAndTheConfigurationChangesIt()
    {
        runtime::testing::TempDir dir;
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        config::Session session(dialogs, clip);
        {
            app::MainWindow frame(session);
            QVERIFY(session.files().acquire(data::FileName::Configuration, config::configLayout()));
            std::set<QString> keys;
            int tools = 0;
            for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
                for (QAction* item : menu->actions()) {
                    if (!item->objectName().startsWith(QStringLiteral("tool_")))
                        continue;
                    ++tools;
                    const QString key = item->shortcut().toString(QKeySequence::PortableText);
                    QVERIFY2(!key.isEmpty(), qPrintable(item->text()));
                    QVERIFY2(keys.insert(key).second, qPrintable(key + " twice"));
                    QVERIFY2(!config::reservedKeyFor(runtime::fromQt(key)), qPrintable(key));
                }
            }
            QVERIFY2(tools >= 14, qPrintable(QString::number(tools)));

            QTimer::singleShot(0, [] {
                auto* window = qobject_cast<config::ConfigurationWindow*>(QApplication::activeModalWidget());
                QVERIFY(window);
                auto* list = window->findChild<QTreeWidget*>(QStringLiteral("keys"));
                const auto rows = list->findItems(QStringLiteral("Message Maker"), Qt::MatchExactly);
                QCOMPARE(rows.size(), qsizetype(1));
                list->setCurrentItem(rows.front());
                window->findChild<QKeySequenceEdit*>(QStringLiteral("keyEdit"))
                    ->setKeySequence(QKeySequence(Qt::Key_F7));
                window->findChild<QPushButton*>(QStringLiteral("useKey"))->click();
                window->accept();
            });
            QVERIFY(frame.runConfiguration());
            QCOMPARE(frame.findAction(QStringLiteral("tool_MakeInput"))->shortcut(),
                     QKeySequence(Qt::Key_F7));

            // The key starts the tool.
            frame.show();
            frame.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&frame));
            QTest::keyClick(&frame, Qt::Key_F7);
            QVERIFY(session.tools().isRunning("MakeInput"));
            for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
                w->close();
        }
        // And is there at the next start.
        app::MainWindow next(session);
        QCOMPARE(next.findAction(QStringLiteral("tool_MakeInput"))->shortcut(), QKeySequence(Qt::Key_F7));
        QCOMPARE(session.windowsIni().value("Main", "MakeInputShortcut"), std::string("F7"));
    }

    void theClipboardQueueOfTheLastRunIsShownAtTheNextStart()
    {
        runtime::testing::TempDir dir;
        app::prepareDataDirectory();
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        config::Session session(dialogs, clip);
        {
            runtime::KeyedFile* file =
                session.files().acquire(data::FileName::Configuration, config::configLayout());
            QVERIFY(file);
            config::ConfigurationForm form(*file);
            form.record().setNumber(config::Cfg::FutBytes, 1, config::FutByte::KeepClipboardQueue);
            QVERIFY(form.save(dialogs));
            session.files().release(data::FileName::Configuration);
        }
        QVERIFY(clipboard::saveQueueFile(clipboard::QueueFileName, {"MESSAGE('Kept')\r\n", "x = 1"}).ok());
        app::MainWindow frame(session);
        frame.setUnattended(true);
        QCOMPARE(frame.start(), app::MainWindow::StartResult::Started);
        auto* lines = frame.mdiArea()->findChild<QListWidget*>(QStringLiteral("clipLines"));
        QVERIFY(lines);
        QCOMPARE(lines->count(), 2);
        QVERIFY(lines->item(0)->text().startsWith(QStringLiteral("MESSAGE('Kept')")));
        QCOMPARE(clip.text(), std::string()); // the clipboard itself is the user's until code is put

        // What this run puts is kept in its turn.
        std::vector<std::string> code{"y = 2"};
        session.putCode(code);
        QCOMPARE(clipboard::loadQueueFile(clipboard::QueueFileName).lines,
                 std::vector<std::string>{"y = 2\r\n"});
    }

    void theListsOfTheBoldFlagsShowInBold()
    {
        runtime::testing::TempDir dir;
        app::prepareDataDirectory();
        ScriptedDialogs dialogs;
        runtime::MemoryClipboard clip;
        config::Session session(dialogs, clip);
        app::MainWindow frame(session);
        session.configuration() = config::defaultConfig();
        session.configuration().setNumber(config::Cfg::LookBold, 1, 11); // "TPL Registrar"
        const auto listOf = [&frame](const char* procedure) -> QWidget* {
            for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
                auto* tool = qobject_cast<runtime::ToolWindow*>(w);
                if (tool && tool->procedure() == procedure)
                    return w->findChild<QWidget*>(QStringLiteral("list"));
            }
            return nullptr;
        };
        frame.startTool("TemplateRegistrar");
        frame.startTool("HelpBrowse");
        QWidget* templates = listOf("TemplateRegistrar");
        QWidget* helps = listOf("HelpBrowse");
        QVERIFY(templates && helps);
        QVERIFY(templates->font().bold());
        QVERIFY(!helps->font().bold());
    }

    void everyIconIsDrawnAtEverySize()
    {
        runtime::testing::TempDir dir;
        ScriptedDialogs dialogs;
        config::Session session(dialogs);
        app::MainWindow frame(session);
        const QDir root(QStringLiteral(":/icons"));
        const QStringList sizes = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(sizes.contains(QStringLiteral("16")) && sizes.contains(QStringLiteral("24")));
        const QStringList names = QDir(root.filePath(sizes.first())).entryList(QDir::Files);
        QVERIFY(names.size() > 40);
        for (const QString& size : sizes) {
            QCOMPARE(QDir(root.filePath(size)).entryList(QDir::Files), names);
            QFile drawn(root.filePath(size + QStringLiteral("/TBMSG.argb")));
            QVERIFY(drawn.open(QIODevice::ReadOnly));
            QCOMPARE(drawn.size(), qint64(size.toInt()) * size.toInt() * 4);
        }
        // A toolbar picture is sharp at twice the size, a size between two drawn ones is made from the
        // larger, and the disabled look is grey.
        const auto coloured = [](const QImage& image) {
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(image.pixel(x, y)) > 0 && QColor(image.pixel(x, y)).saturation() > 40)
                        return true;
                }
            }
            return false;
        };
        const QIcon picture = frame.findAction(QStringLiteral("button_MakeInput"))->icon();
        for (const int side : {48, 40, 20}) {
            const QImage image = picture.pixmap(QSize(side, side)).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QVERIFY(coloured(image));
        }
        const QImage disabled = picture.pixmap(QSize(24, 24), QIcon::Disabled).toImage();
        QCOMPARE(disabled.size(), QSize(24, 24));
        QVERIFY(!coloured(disabled));
    }

    void theWebAndSupportItemsOpenTheProgramsOwnPage()
    {
        Frame f;
        for (const char* item : {"webPage", "email"}) {
            f.frame.findAction(QString::fromLatin1(item))->trigger();
            auto* viewer = f.frame.findChild<app::HelpViewer*>();
            QVERIFY(viewer);
            QCOMPARE(viewer->currentPage(), QStringLiteral("support.html"));
            QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("no web site")));
        }
    }

    void helpOpensTheTopicsPage()
    {
        Frame f;
        f.frame.showHelp(QStringLiteral("~Configuration"));
        auto* viewer = f.frame.findChild<app::HelpViewer*>();
        QVERIFY(viewer);
        QCOMPARE(viewer->currentPage(), QStringLiteral("configuration.html"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Clarion Path")));
        f.frame.findAction(QStringLiteral("helpContents"))->trigger();
        QCOMPARE(viewer->currentPage(), QStringLiteral("contents.html"));
        f.frame.showHelp(QStringLiteral("~Not_Written_Yet"));
        QCOMPARE(viewer->currentPage(), QStringLiteral("contents.html"));

        // The search looks into the pages' text, not only their titles.
        viewer->showSearch();
        auto* filter = viewer->findChild<QLineEdit*>();
        auto* pages = viewer->findChild<QListWidget*>();
        QTest::keyClicks(filter, QStringLiteral("equload.log"));
        QStringList found;
        for (int i = 0; i < pages->count(); ++i)
            found << pages->item(i)->text();
        QVERIFY2(found.contains(QStringLiteral("Kestrix and Support")),
                 qPrintable(found.join(QLatin1Char(','))));
        filter->setText(QStringLiteral("no page holds this"));
        QCOMPARE(pages->count(), 0);
        // Any case, anywhere in the title; the list stays sorted; Esc brings every page back.
        runtime::testing::typeInto(filter, QStringLiteral("AND sUPPORT"));
        QVERIFY(runtime::testing::listRows(pages).contains(QStringLiteral("Kestrix and Support")));
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        const QStringList every = runtime::testing::listRows(pages);
        QCOMPARE(every.size(), QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}).size());
        QStringList sorted = every;
        sorted.sort();
        QCOMPARE(every, sorted);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
