#include "data/DataFileOpener.h"

#include "data/DataFileNames.h"
#include "data/StandardWarning.h"

#include <filesystem>

namespace kestrix::data {

using runtime::ErrorCode::BadKeyFile;
using runtime::ErrorCode::FileAlreadyOpen;
using runtime::ErrorCode::FileLocked;
using runtime::ErrorCode::FileNotFound;
using runtime::ErrorCode::InvalidDataFile;
using runtime::ErrorCode::InvalidRecordDeclaration;

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds left(Clock::time_point deadline)
{
    const auto now = Clock::now();
    return now >= deadline ? std::chrono::milliseconds(0)
                           : std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
}

// Moves the damaged file (and its write-ahead log) out of the way, so nothing of it is lost.
runtime::FileError setAside(const runtime::KeyedFile& file)
{
    namespace fs = std::filesystem;
    const std::string path = file.path().string();
    std::error_code ec;
    fs::rename(path, path + ".damaged", ec);
    if (ec)
        return runtime::FileError::of(runtime::ErrorCode::AccessDenied);
    fs::rename(path + "-wal", path + ".damaged-wal", ec);
    fs::remove(path + "-shm", ec);
    return runtime::FileError::none();
}

// A damaged file: rebuilt from its source when it has one and the user agrees.
bool offerRebuild(runtime::KeyedFile& file, runtime::DialogService& dialogs, runtime::FileError& error)
{
    const std::string source = rebuildSource(file.name());
    if (source.empty()) {
        showStandardWarning(dialogs, Warn::DamagedFile, {file.name(), {}}, error);
        return false;
    }
    if (showStandardWarning(dialogs, Warn::DamagedFileRebuild, {file.name(), source}, error) !=
        runtime::Button::Yes)
        return false;
    error = setAside(file);
    if (error.ok())
        error = file.createIfMissing();
    if (error.ok())
        error = file.open();
    return error.ok();
}

} // namespace

OpenOutcome openDataFile(runtime::KeyedFile& file, runtime::DialogService& dialogs,
                         const OpenOptions& options)
{
    const WarningTexts name{file.name(), {}};
    const Clock::time_point deadline = Clock::now() + options.recoverWait;
    // The first try does not wait: a file another program holds goes to the recovery, which waits for it.
    runtime::FileError error = file.open(std::chrono::milliseconds(0));
    if (error.code == FileLocked) {
        error = file.recover(left(deadline));
        if (error.ok())
            error = file.open(left(deadline));
    }
    if (error.ok() || error.code == FileAlreadyOpen)
        return OpenOutcome::Opened;

    switch (error.code) {
    case FileNotFound:
        if (options.createWhenMissing) {
            // Never drops what another program may have created meanwhile.
            if (const runtime::FileError created = file.createIfMissing())
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
    case InvalidDataFile:
        if (offerRebuild(file, dialogs, error))
            return OpenOutcome::Recreated;
        break;
    default:
        break;
    }
    if (error.ok())
        return OpenOutcome::Opened;
    showStandardWarning(dialogs, Warn::DiskError, name, error);
    return OpenOutcome::Halt;
}

} // namespace kestrix::data
