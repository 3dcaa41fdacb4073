// The ktx JSON record reader.
#include "message/MessageJson.h"
#include "message/MessageRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix::message;
    const nlohmann::json parsed = nlohmann::json::parse(data, data + size, nullptr, false);
    if (parsed.is_discarded())
        return 0;
    const ParsedMessageJson read = parseMessageJson(parsed, '`');
    if (read.edits.text)
        messageToJson(templateMessage(), '`').dump();
    return 0;
}
