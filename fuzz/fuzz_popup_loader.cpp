// The popup text loader, then every menu it wrote read back.
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/TextLineFile.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrix;
    if (size > 20000)
        return 0;
    static runtime::testing::TempDir dir;
    static runtime::KeyedFile& popups = *[] {
        auto* f = new runtime::KeyedFile("Config\\!PopData", equates::popupLayout());
        f->create();
        f->open();
        return f;
    }();
    popups.empty();
    runtime::testing::ScriptedDialogs dialogs;
    const auto lines = runtime::splitTextLines(std::string(reinterpret_cast<const char*>(data), size));
    equates::PopupLoader(popups, dialogs).loadLines(lines);
    runtime::Record r = popups.newRecord();
    popups.setOrder(equates::Pop::Key);
    while (popups.next(r).ok()) {
        if (r.number(equates::Pop::Seq) == 0)
            equates::popupMenu(popups, r.text(equates::Pop::Type));
    }
    return 0;
}
