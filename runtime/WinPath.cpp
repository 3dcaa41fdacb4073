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

fs::path resolveWinPath(std::string_view winPath)
{
#ifdef _WIN32
    return fs::path(std::string(winPath));
#else
    const std::string unixPath = withWineDrive(winPath);
    winPath = unixPath;
    const auto parts = splitComponents(winPath);
    fs::path result;
    std::size_t first = 0;
    if (!winPath.empty() && (winPath.front() == '\\' || winPath.front() == '/')) {
        result = "/";
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
        fs::path candidate = result.empty() ? fs::path(part) : result / part;
        std::error_code ec;
        if (searching && !fs::exists(candidate, ec)) {
            const fs::path dir = result.empty() ? fs::path(".") : result;
            bool found = false;
            for (const auto& entry : fs::directory_iterator(dir, ec)) {
                const std::string name = entry.path().filename().string();
                if (sameTextNoCase(name, part) && name.size() == part.size()) {
                    candidate = result.empty() ? fs::path(name) : result / name;
                    found = true;
                    break;
                }
            }
            if (!found)
                searching = false; // nothing below a missing folder can exist
        }
        result = candidate;
    }
    return result;
#endif
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

std::string fileNameText(const fs::path& name)
{
    // UTF-8 on every system (from the wide names on Windows), then the program's own code page.
    const std::u8string utf8 = name.u8string();
    return utf8ToCp1252(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

} // namespace kestrix::runtime
