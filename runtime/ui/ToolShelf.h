#pragma once

#include "runtime/ToolRegistry.h"

#include <functional>
#include <string>
#include <vector>

// The tools the frame offers. Each folder registers its own (how the frame
// shows them and how a window is made); the frame builds its menus and
// toolbar from what is here and knows no tool by name.
namespace kestrix::runtime {

class ToolWindow;

// Makes the tool's window, nullptr when it cannot open (the user has been told why, or needs no word).
using ToolFactory = std::function<ToolWindow*(StartReason)>;

struct ToolRegistration final
{
    ToolSpec spec;
    ToolFactory open; // empty while the tool is not built yet: its item shows disabled
};

class ToolShelf final
{
public:
    // Adds a tool, or replaces the registration of one with the same procedure.
    void add(ToolSpec spec, ToolFactory open = {});
    const ToolRegistration* find(const std::string& procedure) const;
    const std::vector<ToolRegistration>& tools() const { return m_tools; }

private:
    std::vector<ToolRegistration> m_tools;
};

} // namespace kestrix::runtime
