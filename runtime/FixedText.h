#pragma once

#include <array>
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
std::string_view fittedView(std::string_view text, std::size_t length); // the same, without a copy
bool sameText(std::string_view a, std::string_view b);                  // ignoring trailing blanks
bool sameTextNoCase(std::string_view a, std::string_view b);
// Windows-1252 aware case mapping, as the language's UPPER() and LOWER().
namespace detail {

constexpr unsigned char upperOf(unsigned char u)
{
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<unsigned char>(u - 32);
    switch (u) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return u;
    }
}

constexpr unsigned char lowerOf(unsigned char u)
{
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<unsigned char>(u + 32);
    switch (u) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return u;
    }
}

// Every text a loader reads goes through these, character by character: a lookup, not a branch chain.
template <unsigned char (*Map)(unsigned char)> constexpr std::array<char, 256> caseTable()
{
    std::array<char, 256> table{};
    for (int u = 0; u < 256; ++u)
        table[static_cast<std::size_t>(u)] = static_cast<char>(Map(static_cast<unsigned char>(u)));
    return table;
}

inline constexpr std::array<char, 256> UpperTable = caseTable<upperOf>();
inline constexpr std::array<char, 256> LowerTable = caseTable<lowerOf>();

} // namespace detail

constexpr char upperChar(char c)
{
    return detail::UpperTable[static_cast<unsigned char>(c)];
}
constexpr char lowerChar(char c)
{
    return detail::LowerTable[static_cast<unsigned char>(c)];
}
std::string upper(std::string_view text);
std::string lower(std::string_view text);
// Where `upperWord` (written in capitals) stands in `text` from `from` on, whatever the case of its
// letters there; npos when it does not. As upper(text).find(upperWord, from), without the copy.
std::size_t findNoCase(std::string_view text, std::string_view upperWord, std::size_t from = 0);
bool startsWithNoCase(std::string_view text, std::string_view upperWord);
bool isBlank(std::string_view text);

} // namespace kestrix::runtime
