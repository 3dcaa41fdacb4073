#pragma once

#include <filesystem>

namespace kestrix::runtime {

// True when `path` begins as a keyed file does. Reads a few bytes and opens nothing: the quick
// test for a file that an interrupted copy or another program left as something else.
bool looksLikeKeyedFile(const std::filesystem::path& path);

} // namespace kestrix::runtime
