// The packed fields of a record, as a damaged or foreign file may hold them: reading never runs past
// the bytes, and every value read packs and reads back the same.
#include "runtime/PackedFields.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix::runtime;
    if (size == 0)
        return 0;
    // The first byte chooses, bit by bit, whether each value is read as a text or a number.
    const unsigned kinds = data[0];
    PackedReader reader(data + 1, size - 1);
    for (int i = 0; !reader.atEnd(); ++i) {
        std::string packed;
        if (kinds >> (i % 8) & 1) {
            std::string_view text;
            if (!reader.text(text))
                break;
            const auto* start = reinterpret_cast<const char*>(data + 1);
            if (text.data() < start || text.data() + text.size() > start + (size - 1))
                std::abort();
            packText(packed, text);
            PackedReader again(packed.data(), packed.size());
            std::string_view back;
            if (!again.text(back) || back != text || !again.atEnd())
                std::abort();
        } else {
            std::int64_t number = 0;
            if (!reader.number(number))
                break;
            packNumber(packed, number);
            PackedReader again(packed.data(), packed.size());
            std::int64_t back = 0;
            if (!again.number(back) || back != number || !again.atEnd())
                std::abort();
        }
    }
    return 0;
}
