#pragma once

#include "runtime/IniFile.h"
#include "runtime/SystemIniFile.h"

#include <string>

// Finds the Clarion root from the IDE's own entries in the system INI file
// (WIN.INI): the folder above the IDE's work directory.
namespace kestrix::config {

std::string clarionRootFromWinIni(const runtime::IniFile& winIni);
using runtime::systemIniFile;

} // namespace kestrix::config
