#include "app/ui/MainWindow.h"

#include "app/ToolCatalog.h"
#include "app/ui/HelpViewer.h"
#include "runtime/ui/AppIcons.h"
#include "runtime/ui/QtText.h"
#include "utilities/ui/DataExchangeActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

// The frame's menus and toolbar, and the mode items they carry.
namespace kestrix::app {

using runtime::appIcon;

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
        action->setShortcut(QKeySequence(runtime::toQt(m_toolKeys.keyOf(spec.procedure))));
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
} // namespace kestrix::app
