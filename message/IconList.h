#pragma once

#include <string>
#include <vector>

// The icon names a message box can show (ICON:Hand ...), in the order of the
// Icon drop list. The equates file's "Icon" entries take their place once loaded.
namespace kestrix::message {

const std::vector<std::string>& standardIconNames();

} // namespace kestrix::message
