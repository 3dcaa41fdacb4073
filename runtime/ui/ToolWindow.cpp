#include "runtime/ui/ToolWindow.h"

#include "runtime/ui/WindowPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>

namespace kestrix::runtime {

ToolWindow::ToolWindow(std::string procedure, ToolRegistry& registry, WindowPositionStore positions,
                       QWidget* parent)
    : QMdiSubWindow(parent), m_procedure(std::move(procedure)), m_registry(registry),
      m_positions(std::move(positions))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+W belongs to the tools (the Message Maker's Open As New); the window menu keeps Ctrl+F4.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0)
                action->setShortcuts(keys);
        }
    }
}

ToolWindow::~ToolWindow()
{
    leaveRegistry();
}

void ToolWindow::leaveRegistry()
{
    if (m_registered) {
        m_registry.closed(m_procedure, this);
        m_registered = false;
    }
}

void ToolWindow::restorePosition()
{
    // Never smaller than its controls need, whether restored, dragged or arranged.
    setMinimumSize(minimumSizeHint());
    restorePlacement(this, m_positions, m_section.empty() ? m_procedure : m_section);
}

void ToolWindow::deliver(ToolEvent event)
{
    switch (event) {
    case ToolEvent::Activate:
        if (isMinimized())
            showNormal();
        if (mdiArea())
            mdiArea()->setActiveSubWindow(this);
        setFocus();
        break;
    case ToolEvent::EquatesLoading:
        onEquatesLoading();
        break;
    case ToolEvent::EquatesReloaded:
        onEquatesReloaded();
        break;
    case ToolEvent::Iconize:
        showMinimized();
        break;
    case ToolEvent::Restore:
        if (isMinimized())
            showNormal();
        break;
    case ToolEvent::Close:
        close();
        break;
    case ToolEvent::ConfigurationChanged:
        onConfigurationChanged();
        break;
    }
}

void ToolWindow::closeEvent(QCloseEvent* event)
{
    savePlacement(this, m_positions, m_section.empty() ? m_procedure : m_section);
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        leaveRegistry();
}

} // namespace kestrix::runtime
