#include "app/ui/MainWindow.h"

#include "app/ToolCatalog.h"
#include "app/ui/AboutWindow.h"
#include "app/ui/FindAnythingWindow.h"
#include "app/ui/HelpViewer.h"
#include "app/ui/ToolTipSwitch.h"
#include "clipboard/ui/ClipboardTools.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/Settings.h"
#include "config/ui/ConfigurationWindow.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "equates/ui/Loaders.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/ProgressDialog.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/ToolWindow.h"
#include "runtime/ui/WindowPlacement.h"
#include "utilities/ui/DataExchangeActions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QUrl>
#include <set>

#include <algorithm>

// Resources of a static library are registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kestrix::app {

using runtime::appIcon;

MainWindow::MainWindow(config::Session& session, QWidget* parent)
    : MainWindow(session, installedTools(session), parent)
{
}

MainWindow::MainWindow(config::Session& session, runtime::ToolShelf tools, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_startup(session), m_shelf(std::move(tools))
{
    initResources();
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Kestrix"));
    setWindowIcon(appIcon("1HAND1.ICO"));
    // Every window without a picture of its own (message boxes, dialogs) shows the program's.
    QApplication::setWindowIcon(windowIcon());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    // Tool windows larger than the area are reached by scrolling: without scroll bars the area's
    // minimum is that of its largest child, and an arrangement would make the frame grow.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_toolTips = new ToolTipSwitch(this);
    qApp->installEventFilter(m_toolTips);
    loadToolKeys();
    buildMenus();
    buildToolBar();
    runtime::setHelpHandler([this](const QString& topic) { showHelp(topic); });
    updateModeIcons();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::yieldMenuLettersTo);
    // The menus stay reachable from the keyboard whatever the active tool's letters.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().constFirst());
    });
    // Every generation and erase, from any tool, says what the clipboard now holds.
    m_clipboardListener = m_session.clipboardQueue().subscribe(
        [this] { QMetaObject::invokeMethod(this, &MainWindow::showClipboardSummary); });

    setClipboardActions([this] { m_session.clipboardQueue().reput(); },
                        [this] { m_session.clipboardQueue().erase(); },
                        [this] { startTool(clipboard::ClipViewProcedure); });
    setEquateLoader([this] { loadEquates(); });
    setPopupLoader([this] { loadPopups(); });
    auto* find = new QAction(QStringLiteral("Find Anything"), this);
    find->setObjectName(QStringLiteral("findAnything"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        showFindAnything(this, m_session, m_shelf, [this](const std::string& procedure) {
            return startTool(procedure) != runtime::ToolRegistry::StartOutcome::Refused;
        });
    });
}

MainWindow::~MainWindow()
{
    // The tool windows close after this object is gone: their activation must not reach it.
    disconnect(m_mdi, nullptr, this, nullptr);
    m_session.clipboardQueue().unsubscribe(m_clipboardListener);
    qApp->removeEventFilter(m_toolTips);
    runtime::setHelpHandler({});
    m_startup.closeSharedFiles();
}

void MainWindow::registerTool(const std::string& procedure, ToolFactory factory)
{
    const runtime::ToolRegistration* known = m_shelf.find(procedure);
    m_shelf.add(known ? known->spec : runtime::ToolSpec{procedure},
                [this, factory = std::move(factory)](runtime::StartReason) { return factory(m_session); });
    if (auto it = m_toolActions.find(procedure); it != m_toolActions.end())
        it->second->setEnabled(true);
}

runtime::ToolRegistry::StartOutcome MainWindow::startTool(const std::string& procedure,
                                                          runtime::StartReason reason)
{
    const runtime::ToolRegistration* tool = m_shelf.find(procedure);
    if (!tool || !tool->open)
        return runtime::ToolRegistry::StartOutcome::Refused;
    const runtime::ToolFactory open = tool->open; // the registration may change while the window opens
    const QIcon toolIcon = appIcon(tool->spec.icon);
    return m_session.tools().start(procedure, [&]() -> runtime::ToolInstance* {
        runtime::ToolWindow* window = open(reason);
        if (!window)
            return nullptr;
        // The splash stays on top of everything: it goes before a window it could hide appears.
        closeSplashOnce();
        // A tool window without a picture of its own shows its toolbar button's, or the program's.
        if (!window->testAttribute(Qt::WA_SetWindowIcon))
            window->setWindowIcon(toolIcon.isNull() ? windowIcon() : toolIcon);
        m_mdi->addSubWindow(window);
        window->restorePosition();
        window->show();
        m_mdi->setActiveSubWindow(window);
        return window;
    });
}

void MainWindow::setEquateLoader(std::function<void()> loader)
{
    m_equateLoader = std::move(loader);
    findAction(QStringLiteral("loadEquates"))->setEnabled(static_cast<bool>(m_equateLoader));
}

void MainWindow::setPopupLoader(std::function<void()> loader)
{
    m_popupLoader = std::move(loader);
    findAction(QStringLiteral("loadPopups"))->setEnabled(static_cast<bool>(m_popupLoader));
}

void MainWindow::setClipboardActions(std::function<void()> reput, std::function<void()> erase,
                                     std::function<void()> view)
{
    m_reputClipboard = std::move(reput);
    m_eraseClipboard = std::move(erase);
    m_viewClipboard = std::move(view);
    findAction(QStringLiteral("button_eraseClipboard"))->setEnabled(static_cast<bool>(m_eraseClipboard));
    findAction(QStringLiteral("button_viewClipboard"))->setEnabled(static_cast<bool>(m_viewClipboard));
}

MainWindow::StartResult MainWindow::start()
{
    // The files the frame holds for the whole run.
    if (!m_startup.openSharedFiles())
        return StartResult::Halted;
    // The frame, where it was last time.
    runtime::restorePlacement(this, m_session.positions(), config::Ini::MainProcedure);
    show();
    // The configuration; the Configuration window until one exists.
    while (!m_startup.readConfiguration()) {
        if (m_unattended) {
            if (!writeDefaultConfiguration())
                return StartResult::Halted;
            continue;
        }
        // Cancelling the very first configuration ends the program rather than asking forever.
        if (!runConfiguration())
            return StartResult::Cancelled;
    }
    // Tool tips as configured.
    applyToolTipSetting();
    // The equates and popups, loaded again when their data is missing or old.
    if (m_equateLoader && m_startup.equatesNeedLoading())
        m_equateLoader();
    if (m_popupLoader && m_startup.popupsNeedLoading())
        m_popupLoader();
    // The template family.
    m_startup.readAbcMode();
    updateModeIcons();
    m_started = true;
    showAbout(false);
    for (const runtime::ToolRegistration& tool : m_shelf.tools()) {
        if (tool.spec.opensAtStartup)
            startTool(tool.spec.procedure, runtime::StartReason::AtStartup);
    }
    restoreClipboardQueue();
    return StartResult::Started;
}

void MainWindow::comeForward()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainWindow::showAbout(bool fromMenu)
{
    if (fromMenu) {
        AboutWindow about(true, this);
        about.exec();
        return;
    }
    m_splash = new AboutWindow(false, this);
    m_splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash->show();
}

void MainWindow::closeSplashOnce()
{
    if (m_splash)
        m_splash->close();
}

void MainWindow::showHelp(const QString& topic)
{
    if (!m_help) {
        m_help = new HelpViewer(m_session.positions(), this);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_help->showPage(QString::fromStdString(helpPageFor(runtime::fromQt(topic))));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showClipboardSummary()
{
    statusBar()->showMessage(runtime::toQt(clipboard::clipboardSummary(m_session.clipboardQueue().text())));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A job that rebuilds a data file stops at its next safe point first; the frame closes after it.
    if (m_runningJobs > 0) {
        if (runtime::ProgressDialog* progress = runtime::ProgressDialog::running())
            progress->reject();
        m_closeAfterJob = true;
        event->ignore();
        return;
    }
    m_session.tools().broadcast(runtime::ToolEvent::Close);
    // A tool whose user chose to keep working (Cancel on "save changes?") keeps the program running.
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isHidden()) {
            event->ignore();
            return;
        }
    }
    if (m_help)
        m_help->close();
    runtime::savePlacement(this, m_session.positions(), config::Ini::MainProcedure);
    m_startup.closeSharedFiles();
    event->accept();
}

} // namespace kestrix::app
