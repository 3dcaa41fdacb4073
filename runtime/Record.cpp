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
    m_values.assign(m_layout->slotCount(), Value{});
    for (const FieldDef& field : m_layout->fields()) {
        for (int e = 0; e < field.dims; ++e) {
            if (field.type == FieldType::String)
                m_values[field.firstSlot + e] = std::string();
            else
                m_values[field.firstSlot + e] = std::int64_t{0};
        }
    }
}

int Record::slotOf(int field, int element) const
{
    const FieldDef& def = m_layout->field(field);
    if (element < 1 || element > def.dims)
        throw std::out_of_range("element " + std::to_string(element) + " of " + def.name);
    return def.firstSlot + element - 1;
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
    if (def.type == FieldType::String)
        m_values[slotOf(field, element)] = fitted(value, static_cast<std::size_t>(def.size));
    else
        setNumber(field, std::atoll(std::string(trim(value)).c_str()), element);
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
        m_values[slotOf(field, element)] = fitted(std::to_string(value), static_cast<std::size_t>(def.size));
    else
        m_values[slotOf(field, element)] = wrapToType(value, def.type);
}

} // namespace kestrix::runtime
