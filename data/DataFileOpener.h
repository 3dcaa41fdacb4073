#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <chrono>

// Opens a keyed file the way every window does: recover a locked file, create
// a missing one, offer to rebuild damaged keys, and report what is left.
namespace kestrix::data {

enum class OpenOutcome {
    Opened,
    // Opened anew and empty: the damaged file was set aside (as NAME.damaged) on
    // the user's word, and must be filled again from its source.
    Recreated,
    Halt, // the user was told the file cannot be used; the program must stop ("Disk Error")
};

constexpr const char* HaltText = "Disk Error";

struct OpenOptions final
{
    bool createWhenMissing = true;
    // The whole open, the wait for another program's lock included, ends within this time.
    std::chrono::milliseconds recoverWait{10000};
};

OpenOutcome openDataFile(runtime::KeyedFile& file, runtime::DialogService& dialogs,
                         const OpenOptions& options = {});

} // namespace kestrix::data
