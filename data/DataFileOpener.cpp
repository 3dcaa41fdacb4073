#include "data/DataFileOpener.h"

#include "data/StandardWarning.h"

namespace kestrix::data {

using runtime::ErrorCode::BadKeyFile;
using runtime::ErrorCode::FileAlreadyOpen;
using runtime::ErrorCode::FileLocked;
using runtime::ErrorCode::FileNotFound;
using runtime::ErrorCode::InvalidRecordDeclaration;

OpenOutcome openDataFile(runtime::KeyedFile& file, runtime::DialogService& dialogs, const OpenOptions& options)
{
    const WarningTexts name{file.name(), {}};
    runtime::FileError error = file.open();
    if (error.code == FileLocked) {
        file.recover(options.recoverWait);
        error = file.open();
    }
    if (error.ok() || error.code == FileAlreadyOpen)
        return OpenOutcome::Opened;

    switch (error.code) {
    case FileNotFound:
        if (options.createWhenMissing) {
            if (const runtime::FileError created = file.create())
                showStandardWarning(dialogs, Warn::CreateError, name, created);
            error = file.open();
            if (error.ok())
                return OpenOutcome::Opened;
            showStandardWarning(dialogs, Warn::CreateOpenError, name, error);
        }
        break;
    case InvalidRecordDeclaration:
        showStandardWarning(dialogs, Warn::InvalidFile, name, error);
        break;
    case BadKeyFile:
        if (showStandardWarning(dialogs, Warn::InvalidKey, name, error) == runtime::Button::Yes) {
            if (const runtime::FileError rebuilt = file.rebuildKeys())
                showStandardWarning(dialogs, Warn::RebuildError, name, rebuilt);
            error = file.open();
        }
        break;
    default: break;
    }
    if (error.ok())
        return OpenOutcome::Opened;
    showStandardWarning(dialogs, Warn::DiskError, name, error);
    return OpenOutcome::Halt;
}

} // namespace kestrix::data
