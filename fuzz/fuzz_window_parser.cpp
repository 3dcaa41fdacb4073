// The window parser with FindConflicts and the suggestions of every row.
#include "keyanalysis/WindowAnalysis.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix;
    static runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    keyanalysis::WindowAnalysis analysis(dialogs, keyanalysis::FrameStore::inDataDirectory());
    const int choice = size > 0 ? data[0] % 4 : 0;
    analysis.analyse(std::string(reinterpret_cast<const char*>(data), size),
                     [choice](const std::vector<keyanalysis::TabEntry>& tabs) {
                         if (choice == 1)
                             return keyanalysis::TabChoice{keyanalysis::TabMode::None, 0};
                         if (choice >= 2 && !tabs.empty())
                             return keyanalysis::TabChoice{keyanalysis::TabMode::One, tabs.size() - 1};
                         return keyanalysis::TabChoice{};
                     });
    for (const std::string& line : analysis.queues().code) {
        if (line.size() > 600)
            std::abort();
    }
    for (std::size_t row = 0; row < analysis.queues().alt.size(); ++row)
        analysis.suggestionsFor(row);
    return 0;
}
