#pragma once

#include "runtime/FileError.h"

// For test fixtures and benchmarks, where a file that cannot be set up leaves
// nothing worth measuring or checking: the run stops with the file error.
namespace kestrix::runtime::testing {

void requireOk(const FileError& error, const char* what);

} // namespace kestrix::runtime::testing
