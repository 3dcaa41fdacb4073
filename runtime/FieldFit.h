#pragma once

#include "runtime/RecordLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Whether a value can be stored whole in a record field. A value that does not
// fit is refused with a text naming the field and its size, never cut or wrapped.
namespace kestrix::runtime {

// "MES:CAPTION", "CFG:LOOK:FONT[3]".
std::string fieldLabel(const RecordLayout& layout, int field, int element = 1);
// The values a number field holds.
std::pair<std::int64_t, std::int64_t> numberRange(FieldType type);

// Trailing blanks do not count: the field drops them anyway.
std::optional<std::string> textDoesNotFit(const RecordLayout& layout, int field, std::string_view value,
                                          int element = 1);
std::optional<std::string> numberDoesNotFit(const RecordLayout& layout, int field, std::int64_t value,
                                            int element = 1);

} // namespace kestrix::runtime
