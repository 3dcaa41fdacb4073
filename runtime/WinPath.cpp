#include "runtime/WinPath.h"

#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <cctype>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace kestrix::runtime {
namespace {

std::vector<std::string> splitComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char c : path) {
        if (c == '\\' || c == '/') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

} // namespace

#ifndef _WIN32
// "C:\x" names a drive as Wine maps it: $WINEPREFIX/dosdevices/c: (default prefix ~/.wine).
static std::string withWineDrive(std::string_view winPath)
{
    if (winPath.size() < 2 || winPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(winPath[0])))
        return std::string(winPath);
    fs::path prefix;
    if (const char* env = std::getenv("WINEPREFIX"); env && *env)
        prefix = env;
    else if (const char* home = std::getenv("HOME"); home && *home)
        prefix = fs::path(home) / ".wine";
    const std::string drive(1, lowerChar(winPath[0]));
    std::error_code ec;
    const fs::path device = prefix / "dosdevices" / (drive + ":");
    if (prefix.empty() || !fs::exists(device, ec))
        return std::string(winPath);
    return fs::canonical(device, ec).string() + "/" + std::string(winPath.substr(2));
}
#endif

namespace {

// The entry of `dir` named `part` as it is spelled on disk: the exact spelling where it exists, else the
// first that differs only in case; empty when there is none. Windows's own lookup ignores case, so there
// the listing is the only way to learn the spelling.
std::string spellingOnDisk(const fs::path& dir, const std::string& part)
{
    std::error_code ec;
#ifndef _WIN32
    if (fs::exists(dir / part, ec))
        return part;
#endif
    std::string other;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == part)
            return name;
        if (other.empty() && name.size() == part.size() && sameTextNoCase(name, part))
            other = name;
    }
    return other;
}

} // namespace

fs::path resolveWinPath(std::string_view winPath)
{
#ifndef _WIN32
    const std::string unixPath = withWineDrive(winPath);
    winPath = unixPath;
#endif
    const auto parts = splitComponents(winPath);
    fs::path result;
    std::size_t first = 0;
    if (!winPath.empty() && (winPath.front() == '\\' || winPath.front() == '/')) {
        result = "/";
        first = 1;
    } else if (parts.size() > 1 && parts[0].size() == 2 && parts[0][1] == ':') {
        // A drive's root, not its current folder.
        result = parts[0] + static_cast<char>(fs::path::preferred_separator);
        first = 1;
    }
    bool searching = true;
    for (std::size_t i = first; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part == ".") {
            if (result.empty())
                result = ".";
            continue;
        }
        const fs::path dir = result.empty() ? fs::path(".") : result;
        std::string name = part;
        if (searching) {
            name = spellingOnDisk(dir, part);
            if (name.empty()) {
                name = part;
                searching = false; // nothing below a missing folder can exist
            }
        }
        result = result.empty() ? fs::path(name) : result / name;
    }
    return result;
}

bool winPathExists(std::string_view winPath)
{
    std::error_code ec;
    return fs::exists(resolveWinPath(winPath), ec);
}

bool winDirectoryExists(std::string_view winPath)
{
    std::error_code ec;
    return fs::is_directory(resolveWinPath(winPath), ec);
}

std::string withoutTrailingBackslashes(std::string_view winPath)
{
    std::string out(winPath);
    while (!out.empty() && (out.back() == '\\' || out.back() == '/'))
        out.pop_back();
    return out;
}

std::string fileNamePart(std::string_view winPath)
{
    const auto pos = winPath.find_last_of("\\/");
    return std::string(pos == std::string_view::npos ? winPath : winPath.substr(pos + 1));
}

std::string toWinPath(const fs::path& path)
{
#ifdef _WIN32
    return path.string();
#else
    return path.generic_string();
#endif
}

std::string pathText(const fs::path& path)
{
    const std::u8string utf8 = path.u8string();
    return utf8ToCp1252(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

} // namespace kestrix::runtime
