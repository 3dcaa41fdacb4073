#pragma once

#include <string>

namespace kestrix::organizers {

// Backup copies of the installation (".BAK", ".SAV", ".OLD", ".$$$" or "BACKUP" in the upper-cased
// name) hold only old copies: the scans for help files and templates walk past them.
bool isBackupDirectory(const std::string& upperName);

} // namespace kestrix::organizers
