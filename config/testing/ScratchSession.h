#pragma once

#include "config/Session.h"
#include "runtime/SystemClipboard.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

namespace kestrix::config::testing {

// A session over a fresh data directory (the current directory while it lives), with boxes answered
// by script and a clipboard of its own: what a window test starts from.
struct ScratchSession
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::MemoryClipboard clip;
    Session session{dialogs, clip};
};

} // namespace kestrix::config::testing
