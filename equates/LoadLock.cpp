#include "equates/LoadLock.h"

#include "config/Settings.h"
#include "runtime/WinPath.h"

namespace kestrix::equates {

runtime::FileLock takeLoadLock(const std::string& name, WhenBusy whenBusy,
                               const std::function<void(const std::string&)>& waiting,
                               const std::string& waitText)
{
    const auto path = runtime::lockFileFor(runtime::resolveWinPath(name));
    runtime::FileLock lock = runtime::FileLock::tryAcquire(path);
    if (lock || whenBusy == WhenBusy::Refuse)
        return lock;
    if (waiting)
        waiting(waitText);
    return runtime::FileLock::acquire(path);
}

bool loadVersionIsOld(const std::string& stored)
{
    return stored < config::Ini::CurrentLoadVersion;
}

bool loadUnfinished(const runtime::IniFile& programIni, const char* section)
{
    return loadVersionIsOld(programIni.value(section, config::Ini::VersionEntry));
}

} // namespace kestrix::equates
