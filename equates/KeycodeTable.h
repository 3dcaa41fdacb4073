#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Keys as a person names them ("F5", "Ctrl+Shift+A", "Enter", "Esc", "PgDn",
// "Num5", "Alt+F4") and their keycodes as the language's KEYCODE() gives them:
// the key's base code, plus 100H with Shift, 200H with Ctrl and 400H with Alt.
namespace kestrix::equates {

namespace KeyBit {
constexpr int Shift = 0x100;
constexpr int Ctrl = 0x200;
constexpr int Alt = 0x400;
} // namespace KeyBit

struct KeyName final
{
    const char* name; // as the table spells it; matched without regard to case
    int code;
};
// Every key the table knows, each base code once under its main name.
const std::vector<KeyName>& keyNames();

// The base code of one key name ("A", "F5", "PgDn", "Num5"); nothing for a name the table lacks.
std::optional<int> baseKeycode(std::string_view keyName);
// The keycode of a key with its modifiers ("Ctrl+Shift+A"); nothing when a part is unknown.
std::optional<int> keycodeOf(std::string_view spec);
// The key's name as `keycodeOf` reads it back ("Ctrl+Shift+A"); the number for a base code the table lacks.
std::string keySpecOf(int keycode);

} // namespace kestrix::equates
