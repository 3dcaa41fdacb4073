#pragma once

#include "runtime/IniFile.h"

#include <filesystem>
#include <optional>
#include <string>

// Finds the Clarion root from the IDE's own entries in the system INI file
// (WIN.INI): the folder above the IDE's work directory.
namespace kestrix::config {

std::string clarionRootFromWinIni(const runtime::IniFile& winIni);
// The system INI file: the real one on Windows, Wine's elsewhere; empty when there is none.
std::optional<std::filesystem::path> systemIniFile();

} // namespace kestrix::config
