#include "config/ClarionRootSearch.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

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

std::optional<fs::path> systemIniFile()
{
    std::error_code ec;
#ifdef _WIN32
    const char* windir = std::getenv("WINDIR");
    const fs::path candidate = fs::path(windir ? windir : "C:\\Windows") / "win.ini";
    if (fs::exists(candidate, ec))
        return candidate;
#else
    std::vector<fs::path> prefixes;
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        prefixes.emplace_back(prefix);
    if (const char* home = std::getenv("HOME"); home && *home)
        prefixes.push_back(fs::path(home) / ".wine");
    for (const fs::path& prefix : prefixes) {
        const fs::path candidate =
            runtime::resolveWinPath((prefix / "drive_c" / "windows" / "win.ini").string());
        if (fs::exists(candidate, ec))
            return candidate;
    }
#endif
    return std::nullopt;
}

} // namespace kestrix::config
