#pragma once

#include "runtime/KeyedFile.h"

#include <string>
#include <vector>

// The icon names a message box can show (ICON:Hand ...), in the order of the
// Icon drop list. The equates file's "Icon" entries take their place once loaded.
namespace kestrix::message {

const std::vector<std::string>& standardIconNames();

// The "Icon" entries of the equates file in load order; the standard names when it holds none.
std::vector<std::string> iconNames(runtime::KeyedFile* equates);

} // namespace kestrix::message
