#include "runtime/ui/ToolShelf.h"

namespace kestrix::runtime {

void ToolShelf::add(ToolSpec spec, ToolFactory open)
{
    for (ToolRegistration& tool : m_tools) {
        if (tool.spec.procedure == spec.procedure) {
            tool = {std::move(spec), std::move(open)};
            return;
        }
    }
    m_tools.push_back({std::move(spec), std::move(open)});
}

const ToolRegistration* ToolShelf::find(const std::string& procedure) const
{
    for (const ToolRegistration& tool : m_tools) {
        if (tool.spec.procedure == procedure)
            return &tool;
    }
    return nullptr;
}

} // namespace kestrix::runtime
