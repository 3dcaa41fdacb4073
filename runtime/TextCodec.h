#pragma once

#include <string>
#include <string_view>

// Text inside Kestrix is Windows-1252 bytes, as in Clarion sources. These two
// functions are the only crossing to UTF-8 (Qt, terminal, system clipboard).
namespace kestrix::runtime {

std::string cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold become '?'.
std::string utf8ToCp1252(std::string_view text);

} // namespace kestrix::runtime
