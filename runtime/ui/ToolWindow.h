#pragma once

#include "runtime/ToolRegistry.h"
#include "runtime/WindowPositionStore.h"

#include <QMdiSubWindow>

#include <memory>
#include <string>
#include <vector>

// Base of every tool's MDI child window: it answers the frame's broadcasts,
// keeps its position under its procedure's name, and tells the registry when
// it closes.
namespace kestrix::runtime {

class ToolWindow : public QMdiSubWindow, public ToolInstance
{
    Q_OBJECT

public:
    ToolWindow(std::string procedure, ToolRegistry& registry, WindowPositionStore positions,
               QWidget* parent = nullptr);
    ~ToolWindow() override;

    const std::string& procedure() const { return m_procedure; }
    void deliver(ToolEvent event) override;
    // Call once the window is in the MDI area.
    void restorePosition();
    // The INI section of its position, when that is not the procedure's name.
    void setPositionSection(std::string section) { m_section = std::move(section); }
    // Keeps a resource (the use of a data file, say) for as long as the window lives.
    void holdWhileOpen(std::shared_ptr<void> resource) { m_held.push_back(std::move(resource)); }

signals:
    void equatesReloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    // For tools that must react to a reload of the equates (their own rule).
    virtual void onEquatesReloaded() { emit equatesReloaded(); }
    // The saved configuration changed: a window that shows configured fonts applies them again.
    virtual void onConfigurationChanged() {}
    // For tools that hold the equates file: a load is about to rebuild it.
    virtual void onEquatesLoading() {}

private:
    void leaveRegistry();

    std::string m_procedure;
    std::string m_section;
    ToolRegistry& m_registry;
    WindowPositionStore m_positions;
    bool m_registered = true;
    std::vector<std::shared_ptr<void>> m_held; // released after the derived window is gone
};

} // namespace kestrix::runtime
