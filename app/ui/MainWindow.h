#pragma once

#include "app/StartupSequence.h"
#include "app/ui/InstalledTools.h"
#include "config/ClipboardKeeper.h"
#include "config/Session.h"
#include "config/ToolShortcuts.h"
#include "runtime/ToolRegistry.h"
#include "runtime/ui/ToolShelf.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace kestrix::runtime {
class ToolWindow;
}

namespace kestrix::app {

class AboutWindow;
class HelpViewer;
class ToolTipSwitch;

// The frame ("Main"): menus, toolbar, the global modes, start-up, and the MDI
// area in which every tool opens through the tool registry.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    using ToolFactory = std::function<runtime::ToolWindow*(config::Session&)>;

    // With every installed tool.
    explicit MainWindow(config::Session& session, QWidget* parent = nullptr);
    // With the tools of `tools` only, each in the menu its registration names.
    MainWindow(config::Session& session, runtime::ToolShelf tools, QWidget* parent = nullptr);
    ~MainWindow() override;

    enum class StartResult {
        Started,
        Halted,    // a data file cannot be used; the user has been told why
        Cancelled, // no configuration was given on the first run
    };
    StartResult start();
    // Nobody is there to answer: a first run takes the default configuration instead of asking.
    void setUnattended(bool unattended) { m_unattended = unattended; }

    // Gives a tool another factory; its menu item and toolbar button become enabled.
    void registerTool(const std::string& procedure, ToolFactory factory);
    runtime::ToolRegistry::StartOutcome
    startTool(const std::string& procedure, runtime::StartReason reason = runtime::StartReason::FromMenu);
    // Work that later parts of the program provide; the menu items stay disabled until then.
    void setEquateLoader(std::function<void()> loader);
    void setPopupLoader(std::function<void()> loader);
    void setClipboardActions(std::function<void()> reput, std::function<void()> erase,
                             std::function<void()> view);

    QMdiArea* mdiArea() const { return m_mdi; }
    QAction* findAction(const QString& objectName) const;
    QToolBar* toolBar() const { return m_toolBar; }
    const config::ShortcutTable& toolKeys() const { return m_toolKeys; }
    void showHelp(const QString& topic);
    void showAbout(bool fromMenu);
    bool runConfiguration();
    // Shows the frame in front of the other windows, restored if it was minimized.
    void comeForward();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QAction* addMenuAction(QMenu* menu, const QString& text, const QString& name);
    void addToolItems(QMenu* menu, runtime::ToolMenu which);
    static QString actionName(const runtime::ToolSpec& spec);
    QAction* addToolButton(const QString& tip, const QString& icon, const QString& name, QAction* menuItem);
    void toolbarFor(QAction* button, QAction* menuItem);
    void updateModeIcons();
    void toggleClipAddMode(bool fromMenu);
    void toggleAbcMode();
    void closeSplashOnce();
    void arrangeTiled(Qt::Orientation orientation);
    void arrangeRows(int columns);
    void arrangeGrid();
    void arrangeCascade();
    void arrangeIcons();
    void applyToolTipSetting();
    void loadToolKeys();
    void applyToolKeys();
    void restoreClipboardQueue();
    bool writeDefaultConfiguration();
    void loadEquates();
    void loadPopups();
    // Runs a long job (its own window shows progress) with Help and Window usable and
    // everything that could touch the data it rebuilds disabled.
    void runLongJob(const std::function<void()>& job);
    void showClipboardSummary();
    // The active tool's mnemonics win: a frame menu whose letter the tool uses loses its mnemonic meanwhile.
    void yieldMenuLettersTo(QMdiSubWindow* active);

    config::Session& m_session;
    StartupSequence m_startup;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    ToolTipSwitch* m_toolTips = nullptr;
    runtime::ToolShelf m_shelf;
    std::map<std::string, QAction*> m_toolActions;
    config::ShortcutTable m_toolKeys;
    std::unique_ptr<config::ClipboardKeeper> m_clipboardKeeper;
    std::function<void()> m_equateLoader;
    std::function<void()> m_popupLoader;
    std::function<void()> m_reputClipboard;
    std::function<void()> m_eraseClipboard;
    std::function<void()> m_viewClipboard;
    QPointer<AboutWindow> m_splash;
    QPointer<HelpViewer> m_help;
    bool m_started = false;
    bool m_unattended = false;
    int m_runningJobs = 0;
    bool m_closeAfterJob = false;
    int m_clipboardListener = 0;
};

} // namespace kestrix::app
