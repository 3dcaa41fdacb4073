#include "runtime/SystemIniFile.h"

#include "runtime/WinPath.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace kestrix::runtime {

std::string processEnvironment(std::string_view name)
{
    const char* value = std::getenv(std::string(name).c_str());
    return value ? value : "";
}

std::optional<fs::path> systemIniFile(const Environment& environment)
{
    std::vector<fs::path> candidates;
#ifdef _WIN32
    const std::string windir = environment("WINDIR");
    candidates.push_back(fs::path(windir.empty() ? "C:\\Windows" : windir) / "win.ini");
#else
    std::vector<fs::path> prefixes;
    if (const std::string prefix = environment("WINEPREFIX"); !prefix.empty())
        prefixes.emplace_back(prefix);
    if (const std::string home = environment("HOME"); !home.empty())
        prefixes.push_back(fs::path(home) / ".wine");
    for (const fs::path& prefix : prefixes)
        candidates.push_back(resolveWinPath((prefix / "drive_c" / "windows" / "win.ini").string()));
#endif
    std::error_code ec;
    for (const fs::path& candidate : candidates) {
        if (fs::exists(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

} // namespace kestrix::runtime
