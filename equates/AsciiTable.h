#pragma once

#include <optional>
#include <string>
#include <vector>

// The ASCII Table's content: 128 rows of two character codes each (n and
// n + 128) and the 33 control codes. Glyph texts are UTF-8, for display only:
// the OEM (code page 437) glyphs have no Windows-1252 form.
namespace kestrix::equates {

enum class CharacterSet { Oem, Ansi };

struct CharacterCell final
{
    std::string glyph; // UTF-8; a visible placeholder for a code no font draws
    std::string dec;   // "65"
    std::string hex;   // "41"
};

struct CharacterRow final
{
    CharacterCell low;  // code n
    CharacterCell high; // code n + 128
};

struct ControlRow final
{
    std::string hex;         // "09"
    std::string code;        // "HT"
    std::string key;         // "^I"; blank for 32
    std::string description; // "Horizontal Tab"
};

constexpr int CharacterRows = 128;
constexpr int ControlRows = 33;

// The glyph of one code as the character set draws it.
std::string characterGlyph(int code, CharacterSet set);
std::vector<CharacterRow> characterRows(CharacterSet set);
std::vector<ControlRow> controlRows();

// What the search box finds: a decimal number ("65"), a hex value ("41H", "0x41"), a quoted
// character ("'7'") or a single character (in the set's own code); nothing for anything else.
std::optional<int> findCharacterCode(const std::string& typedUtf8, CharacterSet set);

// The language's literal for a character code: "'<65>'".
std::string characterLiteral(int code);

} // namespace kestrix::equates
