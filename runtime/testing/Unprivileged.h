#pragma once

#include <functional>

// Runs `body` in a child process without root's rights (as "nobody" when the
// tests run as root), so checks of unwritable files and folders mean something.
// Returns the child's exit status, or -1 when no child could be run.
namespace kestrix::runtime::testing {

int runUnprivileged(const std::function<int()>& body);

// Whether runUnprivileged can take away the right to write the tests' own files. Not so on Windows
// (and Wine run as root): no account there is denied what the test's own account created.
bool writesCanBeDenied();

} // namespace kestrix::runtime::testing
