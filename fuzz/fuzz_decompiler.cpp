// The MESSAGE() decompiler over any clipboard text.
#include "message/IconList.h"
#include "message/MessageDecompiler.h"
#include "message/MessageRecord.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix::message;
    static const DecompileSettings settings = [] {
        DecompileSettings s;
        s.icons = standardIconNames();
        return s;
    }();
    const DecompiledMessage result =
        decompileMessage(std::string(reinterpret_cast<const char*>(data), size), settings);
    if (result.record && result.record->text(Mes::Text).size() > 1000)
        std::abort();
    return 0;
}
