#pragma once

#include "runtime/RecordLayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One record buffer of a keyed file. Strings are cut to their declared length
// and held without trailing blanks; numbers wrap to their declared width.
namespace kestrix::runtime {

class Record final
{
public:
    explicit Record(std::shared_ptr<const RecordLayout> layout);

    const RecordLayout& layout() const { return *m_layout; }
    const std::shared_ptr<const RecordLayout>& layoutPtr() const { return m_layout; }

    std::string text(int field, int element = 1) const;
    void setText(int field, std::string_view value, int element = 1);
    std::int64_t number(int field, int element = 1) const;
    void setNumber(int field, std::int64_t value, int element = 1);
    // Fill with blanks and zeros (CLEAR()); keeps no position.
    void clear();

    // Position in the file (0 before the record was read or added) and the
    // version it was read at, used to notice changes by other programs.
    std::int64_t position() const { return m_position; }
    std::int64_t version() const { return m_version; }
    void setPosition(std::int64_t position, std::int64_t version)
    {
        m_position = position;
        m_version = version;
    }

    // Compares field values only.
    bool sameValues(const Record& other) const { return m_values == other.m_values; }

    using Value = std::variant<std::int64_t, std::string>;
    const Value& slot(int index) const { return m_values.at(index); }

private:
    int slotOf(int field, int element) const;
    // Every read and write of a field passes here, so the check is inline and its throw is not.
    static std::size_t slotOf(const FieldDef& def, int element)
    {
        if (element < 1 || element > def.dims) [[unlikely]]
            throwNoSuchElement(def, element);
        return static_cast<std::size_t>(def.firstSlot + element - 1);
    }
    [[noreturn]] static void throwNoSuchElement(const FieldDef& def, int element);

    std::shared_ptr<const RecordLayout> m_layout;
    std::vector<Value> m_values;
    std::int64_t m_position = 0;
    std::int64_t m_version = 0;
};

std::int64_t wrapToType(std::int64_t value, FieldType type);

} // namespace kestrix::runtime
