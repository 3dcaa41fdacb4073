#include "runtime/Record.h"

#include "runtime/FixedText.h"

#include <stdexcept>

namespace kestrix::runtime {

std::int64_t wrapToType(std::int64_t value, FieldType type)
{
    switch (type) {
    case FieldType::Byte:
        return static_cast<std::uint8_t>(value);
    case FieldType::Short:
        return static_cast<std::int16_t>(value);
    case FieldType::Long:
        return static_cast<std::int32_t>(value);
    case FieldType::String:
        break;
    }
    return value;
}

Record::Record(std::shared_ptr<const RecordLayout> layout) : m_layout(std::move(layout))
{
    clear();
}

void Record::clear()
{
    // A buffer cleared for the next record keeps its strings' room: a loader clears one per line.
    m_values.resize(static_cast<std::size_t>(m_layout->slotCount()));
    for (const FieldDef& field : m_layout->fields()) {
        for (int e = 0; e < field.dims; ++e) {
            Value& value = m_values[static_cast<std::size_t>(field.firstSlot + e)];
            if (field.type != FieldType::String)
                value = std::int64_t{0};
            else if (auto* text = std::get_if<std::string>(&value))
                text->clear();
            else
                value = std::string();
        }
    }
}

int Record::slotOf(int field, int element) const
{
    return static_cast<int>(slotOf(m_layout->field(field), element));
}

void Record::throwNoSuchElement(const FieldDef& def, int element)
{
    throw std::out_of_range("element " + std::to_string(element) + " of " + def.name);
}

std::string Record::text(int field, int element) const
{
    const Value& v = m_values[slotOf(field, element)];
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return std::to_string(std::get<std::int64_t>(v));
}

void Record::setText(int field, std::string_view value, int element)
{
    const FieldDef& def = m_layout->field(field);
    if (def.type == FieldType::String) {
        const std::string_view kept = fittedView(value, static_cast<std::size_t>(def.size));
        Value& slot = m_values[slotOf(def, element)];
        if (auto* text = std::get_if<std::string>(&slot))
            text->assign(kept.data(), kept.size());
        else
            slot = std::string(kept);
    } else {
        setNumber(field, std::atoll(std::string(trim(value)).c_str()), element);
    }
}

std::int64_t Record::number(int field, int element) const
{
    const Value& v = m_values[slotOf(field, element)];
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return *n;
    return std::atoll(std::get<std::string>(v).c_str());
}

void Record::setNumber(int field, std::int64_t value, int element)
{
    const FieldDef& def = m_layout->field(field);
    if (def.type == FieldType::String)
        m_values[slotOf(def, element)] = fitted(std::to_string(value), static_cast<std::size_t>(def.size));
    else
        m_values[slotOf(def, element)] = wrapToType(value, def.type);
}

} // namespace kestrix::runtime
