#pragma once

#include "equates/CodeTemplate.h"
#include "runtime/KeyedFile.h"

#include <cstdint>
#include <string>
#include <string_view>

// The Keycode Helper's logic: the keycode of a captured key, a mouse button or
// a special key with the checked modifiers, its name among the "Keycode"
// equates, and the code made from a template of the "KEYCODE FIND" menu.
namespace kestrix::equates {

enum class MouseChoice { None, Left, Right, Center };
enum class SpecialKey { Tab, Enter, Escape, F1 };

extern const char* const KeycodeFindPopup; // "KEYCODE FIND"

class KeycodeHelper final
{
public:
    // Reads the names from `equates` (the equates file, open).
    explicit KeycodeHelper(runtime::KeyedFile& equates) : m_equates(equates) {}

    // A key pressed: its code with the modifiers held; the mouse choice and "Double" clear.
    void captureKey(int keycode);
    void chooseMouse(MouseChoice choice);
    void setDouble(bool on);
    void pressSpecial(SpecialKey key);
    void setShift(bool on);
    void setCtrl(bool on);
    void setAlt(bool on);

    int value() const { return m_value; }
    int unmodified() const { return m_value & 0xFF; }
    char character() const { return static_cast<char>(m_value & 0xFF); }
    MouseChoice mouse() const { return m_mouse; }
    bool isDouble() const { return m_double; }
    bool shift() const { return m_shift; }
    bool ctrl() const { return m_ctrl; }
    bool alt() const { return m_alt; }
    // The "Keycode" equate of the value, or the value as a decimal number.
    const std::string& name() const { return m_name; }

    // "To Clip" with `pattern` (already with its line ends): the code, and the template kept for "Again".
    std::string code(const std::string& pattern);
    // " A&gain": the kept template on the current name (an empty line before any template).
    std::string again() const { return againFor(m_name); }
    // The kept template on another key's name.
    std::string againFor(std::string_view keyName) const;

private:
    void complete();
    int modifierBits() const;

    runtime::KeyedFile& m_equates;
    int m_base = 0; // the code before the checked modifiers are added
    int m_value = 0;
    MouseChoice m_mouse = MouseChoice::None;
    bool m_double = false;
    bool m_shift = false;
    bool m_ctrl = false;
    bool m_alt = false;
    std::string m_name = "0";
    TemplateMemory m_memory;
};

// The name of a keycode among the "Keycode" equates of `equates`, or its decimal value.
std::string keycodeName(runtime::KeyedFile& equates, int value);

} // namespace kestrix::equates
