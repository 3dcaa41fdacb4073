#pragma once

#include <string>
#include <vector>

// A menu as the logic returns it: the window draws the items and sends the
// chosen id back, so no window maps rows to actions by their position.
namespace kestrix::runtime {

struct MenuItem final
{
    int id = 0;       // SeparatorId for a line between items
    std::string text; // "&" marks the hot key, a tab precedes the shortcut shown
    bool enabled = true;
};

constexpr int SeparatorId = 0;

} // namespace kestrix::runtime
