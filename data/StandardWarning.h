#pragma once

#include "runtime/DialogService.h"
#include "runtime/FileError.h"

#include <string>

// The program's standard messages for file and record errors, by code.
namespace kestrix::data {

namespace Warn {
// Codes keep their numbers; the gaps are standard messages this program never shows.
constexpr int InvalidFile = 1;
constexpr int InvalidKey = 2;
constexpr int RebuildError = 3;
constexpr int CreateError = 4;
constexpr int CreateOpenError = 5;
constexpr int OutOfRange = 10;
constexpr int InsertError = 14;
constexpr int RIUpdateError = 15;
constexpr int RIDeleteError = 17;
constexpr int UpdateDisabled = 20;
constexpr int FileLoadError = 26;
constexpr int FileZeroLength = 28;
constexpr int EndOfASCIIQueue = 29;
constexpr int DiskError = 30;
constexpr int ProcessActionError = 31;
constexpr int StandardDelete = 32;
constexpr int LogoutError = 34;
constexpr int RIFramingError = 38;
// The program's own, beyond the standard table: a data file that cannot be read at all.
constexpr int DamagedFile = 39;
constexpr int DamagedFileRebuild = 40;
} // namespace Warn

struct WarningTexts final
{
    std::string text1;
    std::string text2;
    // Chooses the second form of a two-form message: 29 "Beginning of File", 31 "Process DELETE".
    bool alternate = false;
};

// The message box for `code`; `error` is the error the message reports, where it reports one.
runtime::MessageRequest standardWarning(int code, const WarningTexts& texts = {},
                                        const runtime::FileError& error = {});
// Shows it and returns the answer.
unsigned showStandardWarning(runtime::DialogService& dialogs, int code, const WarningTexts& texts = {},
                             const runtime::FileError& error = {});

} // namespace kestrix::data
