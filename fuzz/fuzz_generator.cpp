// The MESSAGE() generator over records decoded from the input, and the
// decompiler over what it writes: no line may pass 254 characters.
#include "FuzzInput.h"
#include "message/IconList.h"
#include "message/MessageDecompiler.h"
#include "message/MessageGenerator.h"
#include "message/MessageRecord.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix;
    using namespace kestrix::message;
    const auto pieces = fuzzPieces(data, size, 5);
    runtime::Record r = templateMessage();
    r.setText(Mes::Text, pieces[0]);
    r.setText(Mes::Caption, pieces[1]);
    r.setText(Mes::Icon, pieces[2]);
    const std::string& flags = pieces[3];
    for (int b = 1; b <= Mes::ButtonCount; ++b)
        r.setNumber(Mes::Button, flags.size() > static_cast<std::size_t>(b) ? (flags[b] & 1) : 0, b);
    if (!flags.empty()) {
        r.setText(Mes::CodeType, flags[0] % 3 == 0 ? "None" : flags[0] % 3 == 1 ? "Case" : "If");
        r.setNumber(Mes::CodeLoop, flags[0] & 4 ? 1 : 0);
        r.setNumber(Mes::CodeIfError, flags[0] & 8 ? 1 : 0);
        r.setNumber(Mes::RenameButtons, flags[0] & 16 ? 1 : 0);
        r.setNumber(Mes::Sound, flags[0] & 32 ? 1 : 0);
    }
    for (int b = 1; b <= Mes::ButtonCount; ++b)
        r.setText(Mes::ButtonName,
                  pieces[4].substr(std::min(pieces[4].size(), static_cast<std::size_t>(b) * 3), 15), b);
    GeneratorSettings settings;
    settings.initialIndent = flags.size() > 9 ? static_cast<unsigned char>(flags[9]) % 31 : 0;
    settings.nestIndent = flags.size() > 10 ? 1 + static_cast<unsigned char>(flags[10]) % 10 : 3;
    settings.doubleAmpersand = flags.size() > 11 && (flags[11] & 1);
    const GeneratedCode code = MessageGenerator(settings).generate(r);
    std::string source;
    for (const std::string& line : code.lines) {
        if (line.size() > 254)
            std::abort();
        source += line + "\r\n";
    }
    DecompileSettings back;
    back.icons = standardIconNames();
    decompileMessage(source, back);
    return 0;
}
