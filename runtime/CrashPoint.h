#pragma once

#include <string_view>

// Places where a test may have the program kill itself, to show that work cut
// off there leaves nothing damaged. Unarmed, a crash point costs one load.
// Armed by KESTRIX_CRASH_AT=<name>:<n> in the environment (read once), or by
// armCrashPoint() in a test's child process: the n-th pass kills the process.
namespace kestrix::runtime {

enum class CrashPoint {
    None,
    BeforeRename, // a whole-or-absent write, its temporary written, before the rename ("before-rename")
    EquateRecord, // an equate record added by the loader ("equate-record")
    PopupRecord,  // a popup record added by the loader ("popup-record")
    TipRecord,    // a tip added while the tips file is built ("tip-record")
};

void crashPoint(CrashPoint point);
void armCrashPoint(CrashPoint point, long pass);
CrashPoint crashPointNamed(std::string_view name);

struct CrashSetting final
{
    CrashPoint point = CrashPoint::None;
    long pass = 0;
};
// "<name>:<n>" (":<n>" may be left out for the first pass); None when not understood.
CrashSetting crashSettingFrom(std::string_view text);

} // namespace kestrix::runtime
