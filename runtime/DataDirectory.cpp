#include "runtime/DataDirectory.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace kestrix::runtime {

fs::path defaultDataDirectory()
{
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"))
        return fs::path(appData) / "Kestrix";
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "kestrix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "kestrix";
#endif
    return fs::current_path() / "kestrix-data";
}

DataDirectoryResult enterDataDirectory(const fs::path& directory)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(directory, ec);
    if (!fs::is_directory(absolute, ec)) {
        fs::create_directories(absolute, ec);
        if (ec)
            return {false, "Cannot create the data directory " + absolute.string() + ": " + ec.message()};
    }
    fs::current_path(absolute, ec);
    if (ec)
        return {false, "Cannot use the data directory " + absolute.string() + ": " + ec.message()};
    return {true, {}};
}

} // namespace kestrix::runtime
