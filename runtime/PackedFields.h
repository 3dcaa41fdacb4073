#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The fields of a record that no key reads, kept together in one value of the row. A wide
// record then costs its file one column instead of one per field: the schema SQLite reads at
// every open and the columns it expands for every read stay small.
//
// Each value in field order: a text as its length and bytes, a number as a zigzag varint.
namespace kestrix::runtime {

void packText(std::string& packed, std::string_view text);
void packNumber(std::string& packed, std::int64_t number);

class PackedReader final
{
public:
    PackedReader(const void* data, std::size_t size)
        : m_next(static_cast<const unsigned char*>(data)), m_end(m_next + size)
    {
    }

    // Each is false, and reads nothing, when the bytes left do not hold a whole value.
    bool text(std::string_view& text);
    bool number(std::int64_t& number);
    bool atEnd() const { return m_next == m_end; }

private:
    bool varint(std::uint64_t& value);

    const unsigned char* m_next;
    const unsigned char* m_end;
};

} // namespace kestrix::runtime
