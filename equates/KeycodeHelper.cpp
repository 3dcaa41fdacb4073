#include "equates/KeycodeHelper.h"

#include "equates/EquateRecord.h"
#include "equates/KeycodeTable.h"
#include "runtime/FixedText.h"

namespace kestrix::equates {

const char* const KeycodeFindPopup = "KEYCODE FIND";

std::string keycodeName(runtime::KeyedFile& equates, int value)
{
    runtime::Record r = equates.newRecord();
    r.setText(Equ::Type, "Keycode");
    r.setNumber(Equ::Long, value);
    if (equates.get(Equ::ByLong, r).ok())
        return r.text(Equ::Name);
    return std::to_string(value);
}

int KeycodeHelper::modifierBits() const
{
    return (m_shift ? KeyBit::Shift : 0) | (m_ctrl ? KeyBit::Ctrl : 0) | (m_alt ? KeyBit::Alt : 0);
}

void KeycodeHelper::complete()
{
    // A modifier held with the key and checked as well counts once.
    m_value = m_base | modifierBits();
    m_name = keycodeName(m_equates, m_value);
}

void KeycodeHelper::captureKey(int keycode)
{
    m_base = keycode;
    m_mouse = MouseChoice::None;
    m_double = false;
    complete();
}

void KeycodeHelper::chooseMouse(MouseChoice choice)
{
    m_mouse = choice;
    MouseChoice effective = choice;
    if (effective == MouseChoice::None) {
        if (!m_double) {
            complete();
            return;
        }
        effective = MouseChoice::Left;
    }
    const int base = effective == MouseChoice::Left ? 1 : effective == MouseChoice::Right ? 2 : 3;
    m_base = base + (m_double ? 4 : 0);
    complete();
}

void KeycodeHelper::setDouble(bool on)
{
    m_double = on;
    chooseMouse(m_mouse);
}

void KeycodeHelper::pressSpecial(SpecialKey key)
{
    switch (key) {
    case SpecialKey::Tab:
        m_base = 9;
        break;
    case SpecialKey::Enter:
        m_base = 13;
        break;
    case SpecialKey::Escape:
        m_base = 27;
        break;
    case SpecialKey::F1:
        m_base = 0x70;
        break;
    }
    complete();
}

void KeycodeHelper::setShift(bool on)
{
    m_shift = on;
    complete();
}

void KeycodeHelper::setCtrl(bool on)
{
    m_ctrl = on;
    complete();
}

void KeycodeHelper::setAlt(bool on)
{
    m_alt = on;
    complete();
}

std::string KeycodeHelper::code(const std::string& pattern)
{
    m_memory.remember(pattern);
    return runtime::clip(fillTemplate(pattern, runtime::rtrim(m_name)));
}

std::string KeycodeHelper::againFor(std::string_view keyName) const
{
    return runtime::clip(fillTemplate(m_memory.last().value_or(""), runtime::rtrim(keyName)));
}

} // namespace kestrix::equates
