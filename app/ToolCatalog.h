#pragma once

#include "runtime/ToolRegistry.h"

#include <string>
#include <vector>

// Where the frame places its tools, and the tools not built yet. A built tool
// registers itself from its folder; one not built shows as a disabled item.
namespace kestrix::app {

// The procedures of `menu`'s tool items in menu order, built or not.
const std::vector<std::string>& menuOrder(runtime::ToolMenu menu);
// The procedures of the toolbar's tool buttons, in order.
const std::vector<std::string>& toolbarOrder();

// Help topic ("~Configuration") to the name of its page ("configuration.html").
std::string helpPageFor(const std::string& topic);

} // namespace kestrix::app
