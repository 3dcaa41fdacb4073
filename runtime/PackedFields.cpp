#include "runtime/PackedFields.h"

namespace kestrix::runtime {

namespace {

void packVarint(std::string& packed, std::uint64_t value)
{
    while (value >= 0x80) {
        packed += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    packed += static_cast<char>(value);
}

} // namespace

void packText(std::string& packed, std::string_view text)
{
    packVarint(packed, text.size());
    packed.append(text);
}

void packNumber(std::string& packed, std::int64_t number)
{
    const auto bits = static_cast<std::uint64_t>(number);
    packVarint(packed, (bits << 1) ^ (number < 0 ? ~std::uint64_t{0} : 0));
}

bool PackedReader::varint(std::uint64_t& value)
{
    std::uint64_t result = 0;
    const unsigned char* at = m_next;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at == m_end)
            return false;
        const unsigned char byte = *at++;
        result |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) {
            m_next = at;
            value = result;
            return true;
        }
    }
    return false; // longer than any 64-bit value
}

bool PackedReader::text(std::string_view& text)
{
    const unsigned char* start = m_next;
    std::uint64_t size = 0;
    if (!varint(size))
        return false;
    if (size > static_cast<std::uint64_t>(m_end - m_next)) {
        m_next = start;
        return false;
    }
    text = std::string_view(reinterpret_cast<const char*>(m_next), static_cast<std::size_t>(size));
    m_next += size;
    return true;
}

bool PackedReader::number(std::int64_t& number)
{
    std::uint64_t zigzag = 0;
    if (!varint(zigzag))
        return false;
    number = static_cast<std::int64_t>((zigzag >> 1) ^ (~(zigzag & 1) + 1));
    return true;
}

} // namespace kestrix::runtime
