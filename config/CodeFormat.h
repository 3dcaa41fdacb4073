#pragma once

#include "runtime/Record.h"

#include <string>

// Indentation of generated code: `initialIndent` is the column in which
// top-level code begins (0 and 1: none), each nesting level adds `nestIndent`.
namespace kestrix::config {

std::string indentation(int initialIndent, int nestIndent, int level);
// The same with the configuration's Initial Indent and Nest Indent.
std::string indentation(const runtime::Record& config, int level);

} // namespace kestrix::config
