#pragma once

#include "runtime/FileError.h"

// The one place where the system's error numbers become file errors, for the parts of the runtime that
// call the system themselves.
namespace kestrix::runtime {

// An errno value: the runtime's code where Clarion has one (access denied, path not found), the
// system's numbering for a full disk or a name too long, else the system's text and number.
FileError fileErrorFromErrno(int err);
// A number of the system's own error category (GetLastError on Windows, errno elsewhere).
FileError fileErrorFromSystemCategory(int number);

} // namespace kestrix::runtime
