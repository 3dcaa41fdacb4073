#include "config/ClarionRootSearch.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

namespace kestrix::config {

std::string clarionRootFromWinIni(const runtime::IniFile& winIni)
{
    for (int version = 7; version >= 4; --version) {
        const std::string base = "Clarion " + std::to_string(version);
        std::string workDir(runtime::trim(winIni.value(base + "  Enterprise Edition", "workdir")));
        if (workDir.empty())
            workDir = std::string(runtime::trim(winIni.value(base, "workdir")));
        if (workDir.empty())
            continue;
        workDir = runtime::withoutTrailingBackslashes(workDir);
        const auto cut = workDir.find_last_of('\\');
        return cut == std::string::npos ? std::string() : workDir.substr(0, cut);
    }
    return {};
}

} // namespace kestrix::config
