#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The system INI file (WIN.INI), where the IDE notes its work directory: the real one on Windows,
// the one of the user's Wine prefix elsewhere.
namespace kestrix::runtime {

// The value of an environment variable; empty when it is not set.
using Environment = std::function<std::string(std::string_view name)>;
std::string processEnvironment(std::string_view name);

// The file, found through `environment` (WINDIR on Windows; WINEPREFIX, then HOME's ~/.wine
// elsewhere); empty when there is none.
std::optional<std::filesystem::path> systemIniFile(const Environment& environment = processEnvironment);

} // namespace kestrix::runtime
