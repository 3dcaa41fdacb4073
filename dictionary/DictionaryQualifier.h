#pragma once

#include <string>

// The text written before a field or key name of a dictionary file in
// generated code, derived from the file's prefix. The one place this rule lives.
namespace kestrix::dictionary {

// Empty for no prefix; "File." for the prefix "1"; a prefix ending in "." as it
// is; any other prefix followed by ":".
std::string qualifierOf(const std::string& fileLabel, const std::string& prefix);

} // namespace kestrix::dictionary
