#pragma once

#include "runtime/DialogService.h"
#include "runtime/FileError.h"

#include <string>

// The program's standard messages for file and record errors, by code.
namespace kestrix::data {

namespace Warn {
constexpr int InvalidFile = 1;
constexpr int InvalidKey = 2;
constexpr int RebuildError = 3;
constexpr int CreateError = 4;
constexpr int CreateOpenError = 5;
constexpr int ProcedureToDo = 6;
constexpr int BadKeyedRec = 7;
constexpr int OutOfRangeHigh = 8;
constexpr int OutOfRangeLow = 9;
constexpr int OutOfRange = 10;
constexpr int NotInFile = 11;
constexpr int RestrictUpdate = 12;
constexpr int RestrictDelete = 13;
constexpr int InsertError = 14;
constexpr int RIUpdateError = 15;
constexpr int UpdateError = 16;
constexpr int RIDeleteError = 17;
constexpr int DeleteError = 18;
constexpr int InsertDisabled = 19;
constexpr int UpdateDisabled = 20;
constexpr int DeleteDisabled = 21;
constexpr int NoCreate = 22;
constexpr int ConfirmCancel = 23;
constexpr int DuplicateKey = 24;
constexpr int AutoIncError = 25;
constexpr int FileLoadError = 26;
constexpr int ConfirmCancelLoad = 27;
constexpr int FileZeroLength = 28;
constexpr int EndOfASCIIQueue = 29;
constexpr int DiskError = 30;
constexpr int ProcessActionError = 31;
constexpr int StandardDelete = 32;
constexpr int SaveOnCancel = 33;
constexpr int LogoutError = 34;
constexpr int RecordFetchError = 35;
constexpr int ViewOpenError = 36;
constexpr int NewRecordAdded = 37;
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
