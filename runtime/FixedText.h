#pragma once

#include <string>
#include <string_view>

// Helpers for the fixed-length text fields of records and queues: values are
// kept without trailing blanks and compared that way.
namespace kestrix::runtime {

std::string_view rtrim(std::string_view text);
std::string_view ltrim(std::string_view text);
std::string_view trim(std::string_view text);
// The language's CLIP(): a copy without trailing blanks.
std::string clip(std::string_view text);
// Cut to the declared length and drop trailing blanks.
std::string fitted(std::string_view text, std::size_t length);
bool sameText(std::string_view a, std::string_view b); // ignoring trailing blanks
bool sameTextNoCase(std::string_view a, std::string_view b);
// Windows-1252 aware case mapping, as the language's UPPER() and LOWER().
char upperChar(char c);
char lowerChar(char c);
std::string upper(std::string_view text);
std::string lower(std::string_view text);
bool isBlank(std::string_view text);

} // namespace kestrix::runtime
