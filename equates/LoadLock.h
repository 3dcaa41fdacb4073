#pragma once

#include "runtime/FileLock.h"
#include "runtime/IniFile.h"

#include <functional>
#include <string>

// One load of the equates or of the popups at a time, among all programs using
// the data directory: the loader holds this lock from its first write to its last.
// And whether the last load finished: a load blanks its version when it begins and
// writes the current one only after its last commit.
namespace kestrix::equates {

enum class WhenBusy {
    Refuse, // the command line: say so and stop
    Wait,   // the program's window: say so and wait for the other load to end
};

// Takes the lock named `name` ("EquateLoad.lck" in the data directory). With Wait,
// `waiting` is told `waitText` before the wait begins. Unlocked when refused.
runtime::FileLock takeLoadLock(const std::string& name, WhenBusy whenBusy,
                               const std::function<void(const std::string&)>& waiting,
                               const std::string& waitText);

// A stored load version below the current one (compared as text, blank included).
bool loadVersionIsOld(const std::string& stored);
// The load of `section` ("EquateLoad", "PopupLoad") began and did not finish, or never ran.
bool loadUnfinished(const runtime::IniFile& programIni, const char* section);

} // namespace kestrix::equates
