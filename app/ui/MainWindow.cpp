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

QAction* MainWindow::addMenuAction(QMenu* menu, const QString& text, const QString& name)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, &MainWindow::closeSplashOnce);
    return action;
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(addMenuAction(file, QStringLiteral("&Export Data..."), QStringLiteral("exportData")),
            &QAction::triggered, this, [this] { utilities::exportUserDataAsked(this, m_session); });
    connect(addMenuAction(file, QStringLiteral("&Import Data..."), QStringLiteral("importData")),
            &QAction::triggered, this, [this] { utilities::importUserDataAsked(m_session); });
    file->addSeparator();
    connect(addMenuAction(file, QStringLiteral("E&xit"), QStringLiteral("exit")), &QAction::triggered, this,
            &QWidget::close);

    addToolItems(menuBar()->addMenu(QStringLiteral("&Tools")), runtime::ToolMenu::Tools);
    addToolItems(menuBar()->addMenu(QStringLiteral("&Dictionary")), runtime::ToolMenu::Dictionary);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    connect(addMenuAction(settings, QStringLiteral("&Configuration"), QStringLiteral("configuration")),
            &QAction::triggered, this, &MainWindow::runConfiguration);
    addToolItems(settings, runtime::ToolMenu::Settings);
    QAction* loadEquates =
        addMenuAction(settings, QStringLiteral("Load &Equates"), QStringLiteral("loadEquates"));
    loadEquates->setEnabled(false);
    connect(loadEquates, &QAction::triggered, this, [this] {
        if (!m_equateLoader)
            return;
        m_equateLoader();
        // Windows that show equates read them again once the load is over.
        m_session.tools().broadcast(runtime::ToolEvent::EquatesReloaded);
    });
    QAction* loadPopups =
        addMenuAction(settings, QStringLiteral("Load &Popups"), QStringLiteral("loadPopups"));
    loadPopups->setEnabled(false);
    connect(loadPopups, &QAction::triggered, this, [this] {
        if (m_popupLoader)
            m_popupLoader();
    });
    QAction* single =
        addMenuAction(settings, QStringLiteral("Single &Thread Only"), QStringLiteral("singleThreadOnly"));
    single->setCheckable(true);
    single->setChecked(m_session.modes().singleThreadOnly);
    connect(single, &QAction::toggled, this, [this](bool on) {
        m_session.modes().singleThreadOnly = on;
        m_session.tools().setSingleThreadOnly(on);
    });
    QAction* addMode =
        addMenuAction(settings, QStringLiteral("Clipboard &Add Mode"), QStringLiteral("clipAddMode"));
    addMode->setCheckable(true);
    connect(addMode, &QAction::triggered, this, [this] { toggleClipAddMode(true); });
    QAction* abc = addMenuAction(settings, QStringLiteral("&Generate ABC Code"), QStringLiteral("abcMode"));
    abc->setCheckable(true);
    connect(abc, &QAction::triggered, this, &MainWindow::toggleAbcMode);

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(addMenuAction(window, QStringLiteral("T&ile"), QStringLiteral("tile")), &QAction::triggered, this,
            &MainWindow::arrangeGrid);
    connect(addMenuAction(window, QStringLiteral("Tile &Vertical"), QStringLiteral("tileVertical")),
            &QAction::triggered, this, [this] { arrangeTiled(Qt::Horizontal); });
    connect(addMenuAction(window, QStringLiteral("Tile &Horizontal"), QStringLiteral("tileHorizontal")),
            &QAction::triggered, this, [this] { arrangeTiled(Qt::Vertical); });
    connect(addMenuAction(window, QStringLiteral("&Cascade"), QStringLiteral("cascade")), &QAction::triggered,
            this, &MainWindow::arrangeCascade);
    connect(addMenuAction(window, QStringLiteral("&Arrange Icons"), QStringLiteral("arrangeIcons")),
            &QAction::triggered, this, &MainWindow::arrangeIcons);
    connect(addMenuAction(window, QStringLiteral("&Minimize All"), QStringLiteral("minimizeAll")),
            &QAction::triggered, this, [this] { m_session.tools().broadcast(runtime::ToolEvent::Iconize); });
    connect(addMenuAction(window, QStringLiteral("&Restore All"), QStringLiteral("restoreAll")),
            &QAction::triggered, this, [this] { m_session.tools().broadcast(runtime::ToolEvent::Restore); });
    connect(addMenuAction(window, QStringLiteral("&Close All"), QStringLiteral("closeAll")),
            &QAction::triggered, this, [this] { m_session.tools().broadcast(runtime::ToolEvent::Close); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(addMenuAction(help, QStringLiteral("&Contents"), QStringLiteral("helpContents")),
            &QAction::triggered, this, [this] { showHelp(QStringLiteral("~Contents")); });
    connect(addMenuAction(help, QStringLiteral("&Search for Help On..."), QStringLiteral("helpSearch")),
            &QAction::triggered, this, [this] {
                showHelp(QStringLiteral("~Contents"));
                m_help->showSearch();
            });
    connect(addMenuAction(help, QStringLiteral("&How to Use Help"), QStringLiteral("helpHowTo")),
            &QAction::triggered, this, [this] { showHelp(QStringLiteral("~How_To_Use_Help")); });
    addToolItems(help, runtime::ToolMenu::Help);
    connect(addMenuAction(help, QStringLiteral("About..."), QStringLiteral("about")), &QAction::triggered,
            this, [this] { showAbout(true); });
    connect(addMenuAction(help, QStringLiteral("Kestrix on the &Web"), QStringLiteral("webPage")),
            &QAction::triggered, this,
            [this] { showHelp(QStringLiteral("~Support")); }); // the program's own pages are its web
    connect(addMenuAction(help, QStringLiteral("&E-mail Support"), QStringLiteral("email")),
            &QAction::triggered, this, [this] { showHelp(QStringLiteral("~Support")); });
}

QString MainWindow::actionName(const runtime::ToolSpec& spec)
{
    return runtime::toQt(spec.actionName.empty() ? "tool_" + spec.procedure : spec.actionName);
}

// The tool items of `menu`: first in the catalog's order, then any other tool registered for it.
void MainWindow::addToolItems(QMenu* menu, runtime::ToolMenu which)
{
    std::vector<const runtime::ToolRegistration*> items;
    for (const std::string& procedure : menuOrder(which)) {
        if (const runtime::ToolRegistration* tool = m_shelf.find(procedure); tool && tool->spec.menu == which)
            items.push_back(tool);
    }
    for (const runtime::ToolRegistration& tool : m_shelf.tools()) {
        if (tool.spec.menu == which && std::find(items.begin(), items.end(), &tool) == items.end())
            items.push_back(&tool);
    }
    for (const runtime::ToolRegistration* tool : items) {
        const runtime::ToolSpec& spec = tool->spec;
        if (spec.menuText.empty())
            continue;
        QAction* action = addMenuAction(menu, runtime::toQt(spec.menuText), actionName(spec));
        if (!spec.tip.empty())
            action->setToolTip(runtime::toQt(spec.tip));
        if (!spec.shortcut.empty())
            action->setShortcut(QKeySequence(runtime::toQt(spec.shortcut)));
        action->setEnabled(static_cast<bool>(tool->open));
        const std::string procedure = spec.procedure;
        connect(action, &QAction::triggered, this, [this, procedure] { startTool(procedure); });
        m_toolActions[procedure] = action;
    }
}

QAction* MainWindow::addToolButton(const QString& tip, const QString& icon, const QString& name,
                                   QAction* menuItem)
{
    QAction* button = m_toolBar->addAction(appIcon(runtime::fromQt(icon)), tip);
    button->setObjectName(name);
    button->setToolTip(tip);
    connect(button, &QAction::triggered, this, &MainWindow::closeSplashOnce);
    if (menuItem)
        toolbarFor(button, menuItem);
    return button;
}

// A tool button does nothing of its own: it triggers its menu item and follows its enabled state.
void MainWindow::toolbarFor(QAction* button, QAction* menuItem)
{
    button->setEnabled(menuItem->isEnabled());
    connect(menuItem, &QAction::enabledChanged, button, &QAction::setEnabled);
    connect(button, &QAction::triggered, menuItem, [menuItem] { menuItem->trigger(); });
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Tools"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    std::vector<const runtime::ToolRegistration*> buttons;
    for (const std::string& procedure : toolbarOrder()) {
        if (const runtime::ToolRegistration* tool = m_shelf.find(procedure))
            buttons.push_back(tool);
    }
    for (const runtime::ToolRegistration& tool : m_shelf.tools()) {
        if (std::find(buttons.begin(), buttons.end(), &tool) == buttons.end())
            buttons.push_back(&tool);
    }
    for (const runtime::ToolRegistration* tool : buttons) {
        const runtime::ToolSpec& spec = tool->spec;
        const auto item = m_toolActions.find(spec.procedure);
        if (spec.toolbarTip.empty() || item == m_toolActions.end())
            continue;
        addToolButton(runtime::toQt(spec.toolbarTip), runtime::toQt(spec.icon),
                      QStringLiteral("button_") + actionName(spec).remove(QStringLiteral("tool_")),
                      item->second);
    }
    m_toolBar->addSeparator();
    QAction* clipMode = addToolButton(QStringLiteral("Toggle Clipboard Change/Add Mode"),
                                      QStringLiteral("CLIPchg"), QStringLiteral("button_clipMode"), nullptr);
    connect(clipMode, &QAction::triggered, this, [this] { toggleClipAddMode(false); });
    QAction* erase = addToolButton(QStringLiteral("Erase Clipboard"), QStringLiteral("CLIPKILL"),
                                   QStringLiteral("button_eraseClipboard"), nullptr);
    erase->setEnabled(false);
    connect(erase, &QAction::triggered, this, [this] {
        if (m_eraseClipboard)
            m_eraseClipboard();
    });
    QAction* view = addToolButton(QStringLiteral("View Clipboard Queue"), QStringLiteral("CLIPVIEW"),
                                  QStringLiteral("button_viewClipboard"), nullptr);
    view->setEnabled(false);
    connect(view, &QAction::triggered, this, [this] {
        if (m_viewClipboard)
            m_viewClipboard();
    });
    QAction* family = addToolButton(QStringLiteral("Toggle ABC/CW2 Template Family"),
                                    QStringLiteral("TBTPLABC"), QStringLiteral("button_abcMode"), nullptr);
    connect(family, &QAction::triggered, this, &MainWindow::toggleAbcMode);
}

QAction* MainWindow::findAction(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void MainWindow::updateModeIcons()
{
    const auto& modes = m_session.modes();
    findAction(QStringLiteral("button_clipMode"))
        ->setIcon(appIcon(modes.clipAddMode ? "~CLIPPlus.ICO" : "~CLIPChg.ICO"));
    findAction(QStringLiteral("button_abcMode"))
        ->setIcon(appIcon(modes.abcMode ? "~TBTPLABC.ICO" : "~TBTPLCW2.ICO"));
    findAction(QStringLiteral("clipAddMode"))->setChecked(modes.clipAddMode);
    findAction(QStringLiteral("abcMode"))->setChecked(modes.abcMode);
}

void MainWindow::toggleClipAddMode(bool fromMenu)
{
    m_session.modes().clipAddMode = !m_session.modes().clipAddMode;
    // The menu item puts the collected code back on the clipboard; the button only switches.
    if (fromMenu && m_reputClipboard)
        m_reputClipboard();
    updateModeIcons();
}

void MainWindow::toggleAbcMode()
{
    m_session.setAbcMode(!m_session.modes().abcMode);
    updateModeIcons();
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
    return StartResult::Started;
}

bool MainWindow::writeDefaultConfiguration()
{
    runtime::KeyedFile* file = m_session.files().file(data::FileName::Configuration);
    if (!file)
        return false;
    config::ConfigurationForm defaults(*file);
    return defaults.save(m_session.dialogs());
}

bool MainWindow::runConfiguration()
{
    runtime::KeyedFile* file = m_session.files().file(data::FileName::Configuration);
    if (!file)
        return false;
    config::ConfigurationWindow window(*file, m_session.dialogs(), m_session.positions(), this);
    connect(&window, &config::ConfigurationWindow::helpRequested, this, &MainWindow::showHelp);
    connect(&window, &config::ConfigurationWindow::toolTipsSwitched, this,
            [this](bool off) { m_toolTips->setToolTipsOff(off); });
    const bool accepted = window.exec() == QDialog::Accepted;
    if (accepted) {
        m_session.configuration() = window.record();
        // Open windows take the new fonts at once.
        m_session.tools().broadcast(runtime::ToolEvent::ConfigurationChanged);
    }
    applyToolTipSetting();
    return accepted;
}

void MainWindow::comeForward()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void MainWindow::applyToolTipSetting()
{
    m_toolTips->setToolTipsOff(m_session.configuration().number(config::Cfg::NoTips) != 0);
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

namespace {

// The tool windows an arrangement moves: shown and not minimized.
QList<QMdiSubWindow*> arrangedWindows(QMdiArea* mdi)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdi->subWindowList()) {
        if (!w->isMinimized() && w->isVisible()) {
            w->showNormal();
            windows << w;
        }
    }
    return windows;
}

QSize atLeastMinimum(const QMdiSubWindow* w, QSize size)
{
    return size.expandedTo(w->minimumSize()).expandedTo(w->minimumSizeHint());
}

} // namespace

// Rows of windows, each row as wide as the area and the windows in it side by side; a window
// never shrinks below its minimum, and what the area cannot hold is reached by scrolling.
void MainWindow::arrangeRows(int columns)
{
    const QList<QMdiSubWindow*> windows = arrangedWindows(m_mdi);
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    columns = std::clamp(columns, 1, n);
    const int rows = (n + columns - 1) / columns;
    int y = 0;
    for (int row = 0; row < rows; ++row) {
        int x = 0;
        int rowHeight = 0;
        for (int column = 0; column < columns && row * columns + column < n; ++column) {
            QMdiSubWindow* w = windows[row * columns + column];
            const QSize size = atLeastMinimum(w, QSize(area.width() / columns, area.height() / rows));
            w->setGeometry(QRect(QPoint(x, y), size));
            x += size.width();
            rowHeight = std::max(rowHeight, size.height());
        }
        y += rowHeight;
    }
}

void MainWindow::arrangeGrid()
{
    const int n = static_cast<int>(arrangedWindows(m_mdi).size());
    int columns = 1;
    while (columns * columns < n)
        ++columns;
    arrangeRows(columns);
}

void MainWindow::arrangeTiled(Qt::Orientation orientation)
{
    arrangeRows(orientation == Qt::Horizontal ? static_cast<int>(arrangedWindows(m_mdi).size()) : 1);
}

void MainWindow::arrangeCascade()
{
    const QList<QMdiSubWindow*> windows = arrangedWindows(m_mdi);
    const QRect area = m_mdi->viewport()->rect();
    const int step = std::max(m_mdi->fontMetrics().height() + 8, 16);
    for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
        QMdiSubWindow* w = windows[i];
        const QSize size = atLeastMinimum(w, QSize(area.width() * 2 / 3, area.height() * 2 / 3));
        w->setGeometry(QRect(QPoint(i * step, i * step), size));
        w->raise();
    }
    if (!windows.isEmpty())
        m_mdi->setActiveSubWindow(windows.back());
}

void MainWindow::arrangeIcons()
{
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x + size.width() > area.width() && x > 0) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height() + 1);
        x += size.width();
    }
}

namespace {

// The letter after a single "&", upper-cased; a null character when there is none.
QChar mnemonicLetter(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

std::set<QChar> mnemonicsIn(QWidget* window)
{
    std::set<QChar> letters;
    const auto add = [&letters](const QString& text) {
        if (const QChar letter = mnemonicLetter(text); !letter.isNull())
            letters.insert(letter);
    };
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        add(b->text());
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->buddy())
            add(l->text());
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        add(g->title());
    for (QTabBar* t : window->findChildren<QTabBar*>()) {
        for (int i = 0; i < t->count(); ++i)
            add(t->tabText(i));
    }
    for (QMenuBar* m : window->findChildren<QMenuBar*>()) {
        for (QAction* a : m->actions())
            add(a->text());
    }
    return letters;
}

} // namespace

void MainWindow::yieldMenuLettersTo(QMdiSubWindow* active)
{
    const std::set<QChar> taken = active ? mnemonicsIn(active) : std::set<QChar>{};
    for (QAction* menu : menuBar()->actions()) {
        // The menu's own text, kept from before any letter was yielded.
        QVariant own = menu->property("ownText");
        if (!own.isValid()) {
            own = menu->text();
            menu->setProperty("ownText", own);
        }
        QString text = own.toString();
        if (taken.count(mnemonicLetter(text)))
            text.remove(text.indexOf(QLatin1Char('&')), 1);
        menu->setText(text);
    }
}

void MainWindow::showClipboardSummary()
{
    statusBar()->showMessage(runtime::toQt(clipboard::clipboardSummary(m_session.clipboardQueue().text())));
}

void MainWindow::loadEquates()
{
    runLongJob([this] {
        const equates::EquateLoadResult result = equates::loadEquatesWithProgress(m_session, this);
        statusBar()->showMessage(
            result.completed
                ? QStringLiteral("Loaded %1 equates of %2 types")
                      .arg(result.records)
                      .arg(static_cast<qulonglong>(result.types))
                : QStringLiteral("The equates were not loaded; the load runs again at the next start"));
    });
}

void MainWindow::loadPopups()
{
    runLongJob([this] {
        const equates::PopupLoadResult result = equates::loadPopupsWithProgress(m_session, this);
        statusBar()->showMessage(
            result.completed
                ? QStringLiteral("Loaded %1 popup entries").arg(result.records)
                : QStringLiteral("The popups were not loaded; the load runs again at the next start"));
    });
}

void MainWindow::runLongJob(const std::function<void()>& job)
{
    std::vector<std::pair<QAction*, bool>> blocked;
    for (QAction* menu : menuBar()->actions()) {
        const QString own =
            menu->property("ownText").isValid() ? menu->property("ownText").toString() : menu->text();
        if (own != QStringLiteral("&Help") && own != QStringLiteral("&Window"))
            blocked.emplace_back(menu, menu->isEnabled());
    }
    for (auto& [action, enabled] : blocked)
        action->setEnabled(false);
    const bool toolBarEnabled = m_toolBar->isEnabled();
    const bool mdiEnabled = m_mdi->isEnabled();
    m_toolBar->setEnabled(false);
    m_mdi->setEnabled(false);
    ++m_runningJobs;
    job();
    --m_runningJobs;
    m_toolBar->setEnabled(toolBarEnabled);
    m_mdi->setEnabled(mdiEnabled);
    for (auto& [action, enabled] : blocked)
        action->setEnabled(enabled);
    if (m_closeAfterJob && m_runningJobs == 0) {
        m_closeAfterJob = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
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
