#pragma once

#include <string>

// Names by which the program opens its keyed files; relative names resolve in
// the data directory.
namespace kestrix::data::FileName {
constexpr const char* Configuration = "config5.tps";
constexpr const char* Equates = "Equates5.tps";
constexpr const char* Popups = "Config\\!PopData";
constexpr const char* Messages = "MESSAGE";
constexpr const char* MessageInserts = "MSGINSER";
constexpr const char* Tips = "Tips5";
} // namespace kestrix::data::FileName

namespace kestrix::data {
// What a file is rebuilt from, as the damaged-file question names it; empty for
// a file of the user's own records, which has nothing to be rebuilt from.
std::string rebuildSource(const std::string& name);
} // namespace kestrix::data
