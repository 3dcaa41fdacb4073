#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::keyanalysis {

struct KeyAnalysisToolOptions final
{
    bool debugTabs = false; // show the Read and Debug tabs, for those who test the analysis
};

// Offers the Window Key Analysis (Tools menu).
void registerKeyAnalysisTools(runtime::ToolShelf& shelf, config::Session& session,
                              KeyAnalysisToolOptions options = {});

} // namespace kestrix::keyanalysis
