#include "equates/KeycodeTable.h"

#include "runtime/FixedText.h"

#include <map>

namespace kestrix::equates {

const std::vector<KeyName>& keyNames()
{
    static const std::vector<KeyName> names = [] {
        std::vector<KeyName> n = {
            {"Backspace", 0x08},  {"Tab", 0x09},       {"Enter", 0x0D},    {"Pause", 0x13},
            {"CapsLock", 0x14},   {"Esc", 0x1B},       {"Space", 0x20},    {"PgUp", 0x21},
            {"PgDn", 0x22},       {"End", 0x23},       {"Home", 0x24},     {"Left", 0x25},
            {"Up", 0x26},         {"Right", 0x27},     {"Down", 0x28},     {"PrintScreen", 0x2C},
            {"Insert", 0x2D},     {"Delete", 0x2E},    {"Num*", 0x6A},     {"Num+", 0x6B},
            {"Num-", 0x6D},       {"Num.", 0x6E},      {"Num/", 0x6F},     {"NumLock", 0x90},
            {"ScrollLock", 0x91}, {"Semicolon", 0xBA}, {"Equal", 0xBB},    {"Comma", 0xBC},
            {"Minus", 0xBD},      {"Period", 0xBE},    {"Slash", 0xBF},    {"Grave", 0xC0},
            {"LBracket", 0xDB},   {"Backslash", 0xDC}, {"RBracket", 0xDD}, {"Quote", 0xDE},
        };
        static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        static const char* const pad[] = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                          "Num5", "Num6", "Num7", "Num8", "Num9"};
        for (int i = 0; i < 10; ++i) {
            n.push_back({digits[i], 0x30 + i});
            n.push_back({pad[i], 0x60 + i});
        }
        static const char* const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                              "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                              "S", "T", "U", "V", "W", "X", "Y", "Z"};
        for (int i = 0; i < 26; ++i)
            n.push_back({letters[i], 0x41 + i});
        static const char* const functions[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                                "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                                "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
        for (int i = 0; i < 24; ++i)
            n.push_back({functions[i], 0x70 + i});
        return n;
    }();
    return names;
}

namespace {

// Other spellings people use for the same keys.
const std::map<std::string, int>& aliases()
{
    static const std::map<std::string, int> table = {
        {"BS", 0x08},      {"BACK", 0x08},     {"RETURN", 0x0D},   {"ESCAPE", 0x1B},  {"SPACEBAR", 0x20},
        {"PAGEUP", 0x21},  {"PAGEDOWN", 0x22}, {"PGDOWN", 0x22},   {"INS", 0x2D},     {"DEL", 0x2E},
        {"KEYPAD0", 0x60}, {"KEYPAD1", 0x61},  {"KEYPAD2", 0x62},  {"KEYPAD3", 0x63}, {"KEYPAD4", 0x64},
        {"KEYPAD5", 0x65}, {"KEYPAD6", 0x66},  {"KEYPAD7", 0x67},  {"KEYPAD8", 0x68}, {"KEYPAD9", 0x69},
        {"NUMPAD0", 0x60}, {"NUMPAD5", 0x65},  {"MULTIPLY", 0x6A}, {"ADD", 0x6B},     {"SUBTRACT", 0x6D},
        {"DECIMAL", 0x6E}, {"DIVIDE", 0x6F},   {"PRTSC", 0x2C},    {"PRINT", 0x2C},   {"BREAK", 0x13},
        {";", 0xBA},       {"=", 0xBB},        {",", 0xBC},        {"-", 0xBD},       {".", 0xBE},
        {"/", 0xBF},       {"`", 0xC0},        {"[", 0xDB},        {"\\", 0xDC},      {"]", 0xDD},
        {"'", 0xDE},
    };
    return table;
}

std::string upperName(std::string_view name)
{
    return runtime::upper(runtime::trim(name));
}

} // namespace

std::optional<int> baseKeycode(std::string_view keyName)
{
    const std::string wanted = upperName(keyName);
    if (wanted.empty())
        return std::nullopt;
    for (const KeyName& key : keyNames()) {
        if (runtime::upper(key.name) == wanted)
            return key.code;
    }
    if (const auto alias = aliases().find(wanted); alias != aliases().end())
        return alias->second;
    return std::nullopt;
}

std::optional<int> keycodeOf(std::string_view spec)
{
    int bits = 0;
    std::string_view rest = runtime::trim(spec);
    // Parts are split at '+'; a '+' that ends the text belongs to the key ("Ctrl+Num+").
    while (true) {
        const std::size_t plus = rest.find('+', 1);
        if (plus == std::string_view::npos || plus + 1 >= rest.size())
            break;
        const std::string modifier = upperName(rest.substr(0, plus));
        if (modifier == "SHIFT")
            bits |= KeyBit::Shift;
        else if (modifier == "CTRL" || modifier == "CONTROL")
            bits |= KeyBit::Ctrl;
        else if (modifier == "ALT")
            bits |= KeyBit::Alt;
        else
            return std::nullopt;
        rest = rest.substr(plus + 1);
    }
    const auto base = baseKeycode(rest);
    if (!base)
        return std::nullopt;
    return *base | bits;
}

std::string keySpecOf(int keycode)
{
    std::string spec;
    if (keycode & KeyBit::Ctrl)
        spec += "Ctrl+";
    if (keycode & KeyBit::Alt)
        spec += "Alt+";
    if (keycode & KeyBit::Shift)
        spec += "Shift+";
    const int base = keycode & 0xFF;
    for (const KeyName& key : keyNames()) {
        if (key.code == base)
            return spec + key.name;
    }
    return spec + std::to_string(base);
}

} // namespace kestrix::equates
