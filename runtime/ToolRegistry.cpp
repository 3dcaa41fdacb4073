#include "runtime/ToolRegistry.h"

#include <vector>

namespace kestrix::runtime {

ToolRegistry::StartOutcome ToolRegistry::start(const std::string& tool,
                                               const std::function<ToolInstance*()>& create)
{
    ToolInstance* running = owner(tool);
    if (running && m_singleThreadOnly) {
        running->deliver(ToolEvent::Activate);
        return StartOutcome::Activated;
    }
    ToolInstance* instance = create();
    if (!instance)
        return StartOutcome::Refused;
    m_open.emplace(tool, instance);
    if (!running)
        m_owners[tool] = instance;
    return StartOutcome::Started;
}

void ToolRegistry::closed(const std::string& tool, ToolInstance* instance)
{
    auto range = m_open.equal_range(tool);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == instance) {
            m_open.erase(it);
            break;
        }
    }
    auto owned = m_owners.find(tool);
    if (owned != m_owners.end() && owned->second == instance)
        m_owners.erase(owned);
}

void ToolRegistry::broadcast(ToolEvent event)
{
    // A tool may close while it handles the event, so deliver over a copy.
    std::vector<ToolInstance*> targets;
    for (const auto& [tool, instance] : m_open)
        targets.push_back(instance);
    for (ToolInstance* instance : targets) {
        bool stillOpen = false;
        for (const auto& [tool, open] : m_open)
            stillOpen = stillOpen || open == instance;
        if (stillOpen)
            instance->deliver(event);
    }
}

bool ToolRegistry::showItem(const std::string& tool, const ShowRequest& request)
{
    ToolInstance* instance = owner(tool);
    return instance && instance->showItem(request);
}

ToolInstance* ToolRegistry::owner(const std::string& tool) const
{
    const auto it = m_owners.find(tool);
    return it == m_owners.end() ? nullptr : it->second;
}

} // namespace kestrix::runtime
