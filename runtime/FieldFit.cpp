#include "runtime/FieldFit.h"

#include "runtime/FixedText.h"

namespace kestrix::runtime {

std::string fieldLabel(const RecordLayout& layout, int field, int element)
{
    const FieldDef& def = layout.field(field);
    std::string label = layout.prefix() + ":" + def.name;
    if (def.dims > 1)
        label += "[" + std::to_string(element) + "]";
    return label;
}

std::pair<std::int64_t, std::int64_t> numberRange(FieldType type)
{
    switch (type) {
    case FieldType::Byte:
        return {0, 255};
    case FieldType::Short:
        return {-32768, 32767};
    case FieldType::Long:
        return {-2147483648LL, 2147483647LL};
    case FieldType::String:
        break;
    }
    return {INT64_MIN, INT64_MAX};
}

std::optional<std::string> textDoesNotFit(const RecordLayout& layout, int field, std::string_view value,
                                          int element)
{
    const auto size = static_cast<std::size_t>(layout.field(field).size);
    const std::size_t length = rtrim(value).size();
    if (length <= size)
        return std::nullopt;
    return fieldLabel(layout, field, element) + " holds at most " + std::to_string(size) +
           " characters, not " + std::to_string(length) + ".";
}

std::optional<std::string> numberDoesNotFit(const RecordLayout& layout, int field, std::int64_t value,
                                            int element)
{
    const auto [low, high] = numberRange(layout.field(field).type);
    if (value >= low && value <= high)
        return std::nullopt;
    return fieldLabel(layout, field, element) + " takes a number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not " + std::to_string(value) + ".";
}

} // namespace kestrix::runtime
