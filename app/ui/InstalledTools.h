#pragma once

#include "runtime/ui/ToolShelf.h"

namespace kestrix::config {
class Session;
}

namespace kestrix::app {

struct ToolOptions final
{
    bool analysisDebugTabs = false; // the Window Key Analysis shows its Read and Debug tabs
};

// The tools still to come, then every built tool as its folder registers it.
runtime::ToolShelf installedTools(config::Session& session, ToolOptions options = {});

} // namespace kestrix::app
