#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads one "Label EQUATE(value) ! notes" line of a Clarion source file into
// the fields of an equate record.
namespace kestrix::equates {

struct ParsedEquate final
{
    std::string label;
    std::string type;
    std::string name;
    std::string searchName;
    std::string equate;     // the value text, upper-cased
    std::int32_t value = 0; // EQU:LONG
    std::string hex;
    std::string notes;

    void clear(); // blank, keeping the strings' room
};

// The running state of an ITEMIZE block.
struct ItemizeBlock final
{
    bool inside = false;
    std::string prefix;       // "CLR:"
    std::int64_t counter = 1; // the value of the next unnumbered member
};

// `line` already carries the block prefix of an ITEMIZE member.
ParsedEquate parseEquateLine(const std::string& line, const std::string& defaultType, bool forceType,
                             ItemizeBlock& block);
// The same into `into`, which is cleared first: a loader parses every line into one.
void parseEquateLine(const std::string& line, const std::string& defaultType, bool forceType,
                     ItemizeBlock& block, ParsedEquate& into);

// "Proplist" -> "PropList" and the other spellings of equate types the loader repairs, in place.
void repairType(std::string& type);
// A hexadecimal literal ("80000000H") as a signed 32-bit value.
std::int32_t hexValue(std::string_view literal);
// '<0FFH,01H,02H,7FH>' as the hexadecimal literal of its little-endian value, "7F0201FFH"; empty when not
// that form.
std::string byteCodeAsHex(std::string_view value);

} // namespace kestrix::equates
