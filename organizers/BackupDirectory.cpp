#include "organizers/BackupDirectory.h"

namespace kestrix::organizers {

bool isBackupDirectory(const std::string& upperName)
{
    for (const char* part : {".BAK", ".SAV", "BACKUP", ".OLD", ".$$$"}) {
        if (upperName.find(part) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace kestrix::organizers
