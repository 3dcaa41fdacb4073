#include "equates/AsciiTable.h"

#include "runtime/TextCodec.h"

#include <array>
#include <cctype>

namespace kestrix::equates {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// The glyphs of the OEM font, code page 437; "" where the font draws nothing.
const std::array<const char*, 256> Cp437 = {
    "",  "☺", "☻", "♥", "♦", "♣", "♠", "•", "◘", "○", "◙", "♂", "♀",  "♪", "♫",  "☼", "►", "◄", "↕", "‼",
    "¶", "§", "▬", "↨", "↑", "↓", "→", "←", "∟", "↔", "▲", "▼", "",   "!", "\"", "#", "$", "%", "&", "'",
    "(", ")", "*", "+", ",", "-", ".", "/", "0", "1", "2", "3", "4",  "5", "6",  "7", "8", "9", ":", ";",
    "<", "=", ">", "?", "@", "A", "B", "C", "D", "E", "F", "G", "H",  "I", "J",  "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "[", "\\", "]", "^",  "_", "`", "a", "b", "c",
    "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p",  "q", "r",  "s", "t", "u", "v", "w",
    "x", "y", "z", "{", "|", "}", "~", "⌂", "Ç", "ü", "é", "â", "ä",  "à", "å",  "ç", "ê", "ë", "è", "ï",
    "î", "ì", "Ä", "Å", "É", "æ", "Æ", "ô", "ö", "ò", "û", "ù", "ÿ",  "Ö", "Ü",  "¢", "£", "¥", "₧", "ƒ",
    "á", "í", "ó", "ú", "ñ", "Ñ", "ª", "º", "¿", "⌐", "¬", "½", "¼",  "¡", "«",  "»", "░", "▒", "▓", "│",
    "┤", "╡", "╢", "╖", "╕", "╣", "║", "╗", "╝", "╜", "╛", "┐", "└",  "┴", "┬",  "├", "─", "┼", "╞", "╟",
    "╚", "╔", "╩", "╦", "╠", "═", "╬", "╧", "╨", "╤", "╥", "╙", "╘",  "╒", "╓",  "╫", "╪", "┘", "┌", "█",
    "▄", "▌", "▐", "▀", "α", "ß", "Γ", "π", "Σ", "σ", "µ", "τ", "Φ",  "Θ", "Ω",  "δ", "∞", "φ", "ε", "∩",
    "≡", "±", "≥", "≤", "⌠", "⌡", "÷", "≈", "°", "∙", "·", "√", "ⁿ",  "²", "■",  "",
};

// Mnemonic padded to four, then the description.
const std::array<const char*, ControlRows> ControlNames = {
    "NUL Null",
    "SOH Start of Heading",
    "STX Start of Text",
    "ETX End of Text",
    "EOT End of Transmission",
    "ENQ Enquiry",
    "ACK Acknowledge",
    "BEL Bell",
    "BS  Backspace",
    "HT  Horizontal Tab",
    "LF  Line Feed",
    "VT  Vertical Tab",
    "FF  Form Feed",
    "CR  Carriage Return",
    "SO  Shift Out",
    "SI  Shift In",
    "DLE Data Link Escape",
    "DC1 Device Control 1 (XON)",
    "DC2 Device Control 2",
    "DC3 Device Control 3 (XOFF)",
    "DC4 Device Control 4",
    "NAK Negative Acknowledge",
    "SYN Synchronous Idle",
    "ETB End of Transmission Block",
    "CAN Cancel",
    "EM  End of Medium",
    "SUB Substitute",
    "ESC Escape",
    "FS  File Separator",
    "GS  Group Separator",
    "RS  Record Separator",
    "US  Unit Separator",
    "SP  Space",
};

std::string hexOf(int code)
{
    return {HexDigits[(code >> 4) & 0xF], HexDigits[code & 0xF]};
}

// Codes a font leaves empty get the symbol for them, so no cell looks blank.
std::string placeholder(int code)
{
    if (code >= 0 && code < 32) // U+2400 + code, in the control pictures block
        return {'\xE2', '\x90', static_cast<char>(0x80 + code)};
    switch (code) {
    case 32:
        return "\u2420"; // SP
    case 127:
        return "\u2421"; // DEL
    case 160:
    case 255:
        return "\u237D"; // no-break space
    case 173:
        return "\u2010"; // soft hyphen
    default:
        return "\u25AF"; // a code the set leaves undefined
    }
}

} // namespace

std::string characterGlyph(int code, CharacterSet set)
{
    if (code < 0 || code > 255)
        return {};
    if (set == CharacterSet::Oem) {
        const std::string glyph = Cp437[code];
        return glyph.empty() ? placeholder(code) : glyph;
    }
    const bool undrawable = code < 33 || code == 127 || code == 160 || code == 173 || code == 0x81 ||
                            code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
    if (undrawable)
        return placeholder(code);
    return runtime::cp1252ToUtf8(std::string(1, static_cast<char>(code)));
}

std::vector<CharacterRow> characterRows(CharacterSet set)
{
    std::vector<CharacterRow> rows;
    rows.reserve(CharacterRows);
    for (int n = 0; n < CharacterRows; ++n) {
        rows.push_back({{characterGlyph(n, set), std::to_string(n), hexOf(n)},
                        {characterGlyph(n + 128, set), std::to_string(n + 128), hexOf(n + 128)}});
    }
    return rows;
}

std::vector<ControlRow> controlRows()
{
    std::vector<ControlRow> rows;
    for (int n = 0; n < ControlRows; ++n) {
        const std::string text = ControlNames[n];
        std::string code = text.substr(0, 3);
        while (!code.empty() && code.back() == ' ')
            code.pop_back();
        const std::string key = n < 32 ? std::string{'^', static_cast<char>(64 + n)} : std::string();
        rows.push_back({hexOf(n), code, key, text.substr(4, 25)});
    }
    return rows;
}

std::optional<int> findCharacterCode(const std::string& typed, CharacterSet set)
{
    std::string text = typed;
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (text.empty())
        return std::nullopt;
    // A quoted character is the character even when it is a digit.
    if (text.size() >= 3 && text.front() == '\'' && text.back() == '\'')
        text = text.substr(1, text.size() - 2);
    else {
        const auto number = [](const std::string& digits, int base) -> std::optional<int> {
            if (digits.empty() || digits.size() > 3)
                return std::nullopt;
            int value = 0;
            for (char c : digits) {
                const auto u = static_cast<unsigned char>(c);
                const int digit = std::isdigit(u)                  ? c - '0'
                                  : base == 16 && std::isxdigit(u) ? std::toupper(u) - 'A' + 10
                                                                   : -1;
                if (digit < 0)
                    return std::nullopt;
                value = value * base + digit;
            }
            return value <= 255 ? std::optional<int>(value) : std::nullopt;
        };
        const bool allDigits = text.find_first_not_of("0123456789") == std::string::npos;
        if (allDigits && text.size() > 1)
            return number(text, 10);
        if (text.size() > 1 && (text.back() == 'H' || text.back() == 'h'))
            return number(text.substr(0, text.size() - 1), 16);
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
            return number(text.substr(2), 16);
        if (allDigits)
            return number(text, 10); // a single digit reads as its number
    }
    // One character: its code in the set the tab draws.
    for (int code = 0; code < 256; ++code) {
        const std::string glyph = set == CharacterSet::Oem
                                      ? std::string(Cp437[code])
                                      : runtime::cp1252ToUtf8(std::string(1, static_cast<char>(code)));
        if (!glyph.empty() && glyph == text)
            return code;
    }
    if (text == " ")
        return 32;
    return std::nullopt;
}

std::string characterLiteral(int code)
{
    return "'<" + std::to_string(code) + ">'";
}

} // namespace kestrix::equates
