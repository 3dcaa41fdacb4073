// The equate source-line parser: every field stays within its record length.
#include "equates/EquateLineParser.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix::equates;
    ItemizeBlock block;
    block.inside = size > 0 && (data[0] & 1);
    const ParsedEquate e = parseEquateLine(std::string(reinterpret_cast<const char*>(data), size), "Unknown",
                                           size > 1 && (data[1] & 1), block);
    if (e.label.size() > 30 || e.equate.size() > 20 || e.hex.size() > 10 || e.type.size() > 12 ||
        e.notes.size() > 40)
        std::abort();
    return 0;
}
