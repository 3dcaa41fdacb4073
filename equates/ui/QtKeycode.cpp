#include "equates/ui/QtKeycode.h"

#include "equates/KeycodeTable.h"

#include <map>
#include <string>

namespace kestrix::equates {

namespace {

// Keys by the table's names; shifted symbols name the key that types them.
const std::map<int, const char*>& qtKeyNames()
{
    static const std::map<int, const char*> names = {
        {Qt::Key_Backspace, "Backspace"},
        {Qt::Key_Tab, "Tab"},
        {Qt::Key_Backtab, "Tab"},
        {Qt::Key_Return, "Enter"},
        {Qt::Key_Enter, "Enter"},
        {Qt::Key_Pause, "Pause"},
        {Qt::Key_CapsLock, "CapsLock"},
        {Qt::Key_Escape, "Esc"},
        {Qt::Key_Space, "Space"},
        {Qt::Key_PageUp, "PgUp"},
        {Qt::Key_PageDown, "PgDn"},
        {Qt::Key_End, "End"},
        {Qt::Key_Home, "Home"},
        {Qt::Key_Left, "Left"},
        {Qt::Key_Up, "Up"},
        {Qt::Key_Right, "Right"},
        {Qt::Key_Down, "Down"},
        {Qt::Key_Print, "PrintScreen"},
        {Qt::Key_Insert, "Insert"},
        {Qt::Key_Delete, "Delete"},
        {Qt::Key_NumLock, "NumLock"},
        {Qt::Key_ScrollLock, "ScrollLock"},
        {Qt::Key_Semicolon, "Semicolon"},
        {Qt::Key_Colon, "Semicolon"},
        {Qt::Key_Equal, "Equal"},
        {Qt::Key_Plus, "Equal"},
        {Qt::Key_Comma, "Comma"},
        {Qt::Key_Less, "Comma"},
        {Qt::Key_Minus, "Minus"},
        {Qt::Key_Underscore, "Minus"},
        {Qt::Key_Period, "Period"},
        {Qt::Key_Greater, "Period"},
        {Qt::Key_Slash, "Slash"},
        {Qt::Key_Question, "Slash"},
        {Qt::Key_QuoteLeft, "Grave"},
        {Qt::Key_AsciiTilde, "Grave"},
        {Qt::Key_BracketLeft, "LBracket"},
        {Qt::Key_BraceLeft, "LBracket"},
        {Qt::Key_Backslash, "Backslash"},
        {Qt::Key_Bar, "Backslash"},
        {Qt::Key_BracketRight, "RBracket"},
        {Qt::Key_BraceRight, "RBracket"},
        {Qt::Key_Apostrophe, "Quote"},
        {Qt::Key_QuoteDbl, "Quote"},
        {Qt::Key_Exclam, "1"},
        {Qt::Key_At, "2"},
        {Qt::Key_NumberSign, "3"},
        {Qt::Key_Dollar, "4"},
        {Qt::Key_Percent, "5"},
        {Qt::Key_AsciiCircum, "6"},
        {Qt::Key_Ampersand, "7"},
        {Qt::Key_Asterisk, "8"},
        {Qt::Key_ParenLeft, "9"},
        {Qt::Key_ParenRight, "0"},
    };
    return names;
}

const std::map<int, const char*>& keypadNames()
{
    static const std::map<int, const char*> names = {
        {Qt::Key_Asterisk, "Num*"}, {Qt::Key_Plus, "Num+"},   {Qt::Key_Minus, "Num-"},
        {Qt::Key_Period, "Num."},   {Qt::Key_Slash, "Num/"},  {Qt::Key_Enter, "Enter"},
        {Qt::Key_Insert, "Num0"},   {Qt::Key_End, "Num1"},    {Qt::Key_Down, "Num2"},
        {Qt::Key_PageDown, "Num3"}, {Qt::Key_Left, "Num4"},   {Qt::Key_Clear, "Num5"},
        {Qt::Key_Right, "Num6"},    {Qt::Key_Home, "Num7"},   {Qt::Key_Up, "Num8"},
        {Qt::Key_PageUp, "Num9"},   {Qt::Key_Delete, "Num."},
    };
    return names;
}

std::optional<std::string> keyName(int key, bool keypad)
{
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return "Num" + std::to_string(key - Qt::Key_0);
    if (keypad) {
        if (const auto found = keypadNames().find(key); found != keypadNames().end())
            return std::string(found->second);
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return std::string(1, static_cast<char>(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return "F" + std::to_string(key - Qt::Key_F1 + 1);
    if (const auto found = qtKeyNames().find(key); found != qtKeyNames().end())
        return std::string(found->second);
    return std::nullopt;
}

} // namespace

std::optional<int> keycodeFromQt(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
        key == Qt::Key_AltGr || key == 0)
        return std::nullopt;
    const Qt::KeyboardModifiers held = event.modifiers();
    int bits = 0;
    if (held & Qt::ShiftModifier)
        bits |= KeyBit::Shift;
    if (held & Qt::ControlModifier)
        bits |= KeyBit::Ctrl;
    if (held & Qt::AltModifier)
        bits |= KeyBit::Alt;
    if (const auto name = keyName(key, (held & Qt::KeypadModifier) != 0)) {
        if (const auto code = baseKeycode(*name))
            return *code | bits;
    }
    const quint32 native = event.nativeVirtualKey();
    return static_cast<int>(native & 0xFF) | bits;
}

} // namespace kestrix::equates
