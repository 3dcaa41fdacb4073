#include "app/ui/MainWindow.h"

#include "app/ui/ToolTipSwitch.h"
#include "clipboard/QueueFile.h"
#include "clipboard/ui/ClipboardTools.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/ui/ConfigurationWindow.h"
#include "data/DataFileNames.h"
#include "runtime/ui/QtText.h"

#include <QAction>
#include <QKeySequence>

// The frame's part in the settings: the Configuration window, tool tips, the tools' keys and the
// clipboard queue kept between runs.
namespace kestrix::app {

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
    window.setToolKeys(m_toolKeys.tools());
    connect(&window, &config::ConfigurationWindow::helpRequested, this, &MainWindow::showHelp);
    connect(&window, &config::ConfigurationWindow::toolTipsSwitched, this,
            [this](bool off) { m_toolTips->setToolTipsOff(off); });
    const bool accepted = window.exec() == QDialog::Accepted;
    if (accepted) {
        m_session.configuration() = window.record();
        m_toolKeys = window.shortcuts();
        applyToolKeys();
        if (m_clipboardKeeper)
            m_clipboardKeeper->configurationChanged();
        // Open windows take the new fonts at once.
        m_session.tools().broadcast(runtime::ToolEvent::ConfigurationChanged);
    }
    applyToolTipSetting();
    return accepted;
}

void MainWindow::applyToolTipSetting()
{
    m_toolTips->setToolTipsOff(m_session.configuration().number(config::Cfg::NoTips) != 0);
}

// Every tool with a menu item, in the frame's order, with the key its registration brings.
void MainWindow::loadToolKeys()
{
    std::vector<config::ToolKey> tools;
    for (const runtime::ToolRegistration& tool : m_shelf.tools()) {
        if (tool.spec.menuText.empty())
            continue;
        QString name = runtime::toQt(tool.spec.menuText);
        name.remove(QLatin1Char('&'));
        tools.push_back({tool.spec.procedure, runtime::fromQt(name), tool.spec.shortcut});
    }
    m_toolKeys = config::loadShortcuts(m_session.windowsIni(), tools);
}

void MainWindow::applyToolKeys()
{
    for (const auto& [procedure, action] : m_toolActions)
        action->setShortcut(QKeySequence(runtime::toQt(m_toolKeys.keyOf(procedure))));
}

void MainWindow::restoreClipboardQueue()
{
    m_clipboardKeeper = std::make_unique<config::ClipboardKeeper>(m_session, clipboard::QueueFileName);
    const std::string problem = m_clipboardKeeper->restore();
    if (!problem.empty())
        m_session.dialogs().message({problem, "CLIPBOARD QUEUE", runtime::MessageIcon::Exclamation,
                                     runtime::Button::Ok, runtime::Button::Ok});
    // The last run's code is shown at once, where it can be put back or erased.
    if (!m_session.clipboardQueue().lines().empty())
        startTool(clipboard::ClipViewProcedure, runtime::StartReason::AtStartup);
}

} // namespace kestrix::app
