// A whole EquateLoad over a fuzzed list file and source file in a temporary folder.
#include "FuzzInput.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix;
    if (size > 20000)
        return 0;
    const auto pieces = fuzzPieces(data, size, 2);
    runtime::testing::TempDir dir;
    std::filesystem::create_directories("cw/LIBSRC");
    std::ofstream("EQU-LOA5.TXT", std::ios::binary) << "[FILES]\nSRC.CLW       Unknown\n" << pieces[0];
    std::ofstream("cw/LIBSRC/SRC.CLW", std::ios::binary) << pieces[1];
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile file("Equates5.tps", equates::equateLayout());
    equates::EquateLoader(file, "cw", dialogs).run(runtime::IniFile("KTX4.INI"));
    return 0;
}
