#pragma once

#include "runtime/CrashPoint.h"

#include <functional>
#include <vector>

// Several programs at once, and programs killed part-way, for the tests of files shared between
// processes. POSIX only: the children are forked.
namespace kestrix::runtime::testing {

// Runs body(n) for n from 0 to count - 1, each in its own child process; the children start together,
// released through one pipe. Returns each child's status: its exit code, or 128 + the signal that ended it.
std::vector<int> runTogether(int count, const std::function<int(int)>& body);

// Runs `work` in a child that kills itself at the `pass`-th crossing of `point`; true when it died there
// (and not by ending or failing first).
bool killedAt(CrashPoint point, long pass, const std::function<void()>& work);

} // namespace kestrix::runtime::testing
