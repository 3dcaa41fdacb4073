#include "app/DataDirectorySetup.h"

#include "equates/TipsFile.h"
#include "resources/DeliveredFiles.h"
#include "runtime/AtomicFile.h"
#include "runtime/KeyedFileProbe.h"
#include "runtime/TextLineFile.h"
#include "runtime/WinPath.h"

#include <filesystem>

namespace kestrix::app {

namespace fs = std::filesystem;

namespace {

bool present(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// An empty delivered file is what an interrupted copy of an earlier version left;
// nobody edits one down to nothing, so it is copied again.
bool emptyRegularFile(const fs::path& path, fs::file_status status)
{
    std::error_code ec;
    return fs::is_regular_file(status) && fs::file_size(path, ec) == 0 && !ec;
}

// The tips file is only ever put in place whole (built under another name, then renamed), so one
// that begins as a keyed file is taken for sound without opening it: every start, the command line's
// included, pays for a look at its first bytes only.
bool tipsFileSound(const fs::path& tips)
{
    return present(tips) && runtime::looksLikeKeyedFile(tips);
}

void removeJournal(const fs::path& keyedFile)
{
    std::error_code ec;
    for (const char* suffix : {"-wal", "-shm"})
        fs::remove(keyedFile.string() + suffix, ec);
}

// Builds the tips under a temporary name and renames the finished file into place,
// so a start killed part-way leaves no half-built tips file behind.
std::string rebuildTips(const fs::path& target)
{
    const runtime::TextLines source =
        runtime::readTextLines(runtime::resolveWinPath(equates::TipsSourceName));
    if (source.error)
        return std::string("Cannot read ") + equates::TipsSourceName + " to build the tips.";
    const fs::path temp = runtime::temporaryNameFor(target);
    {
        runtime::KeyedFile building(temp.filename().string(), equates::tipLayout());
        const bool built =
            !building.create() && !building.open() && equates::buildTipsFile(building, source.lines) >= 0;
        building.close();
        // The log a keyed file keeps between opens belongs to the temporary name: it goes with it.
        removeJournal(temp);
        if (!built) {
            std::error_code ec;
            fs::remove(temp, ec);
            return std::string("Cannot build the tips file ") + equates::TipsFileName +
                   " in the data directory.";
        }
    }
    // A journal left by the damaged file must not be replayed onto the new one.
    removeJournal(target);
    std::error_code ec;
    if (runtime::moveFileAtomically(temp, target)) {
        fs::remove(temp, ec);
        return std::string("Cannot put the tips file ") + equates::TipsFileName + " into the data directory.";
    }
    return {};
}

} // namespace

SetupResult prepareDataDirectory()
{
    SetupResult result;
    for (const resources::DeliveredFile& delivered : resources::deliveredFiles()) {
        const fs::path path = runtime::resolveWinPath(delivered.name);
        // One look at each file: every command, the shortest included, passes here.
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        const bool repair = emptyRegularFile(path, status);
        if (fs::exists(status) && !repair)
            continue; // the user's own copy, perhaps edited, stays
        const runtime::FileError error = runtime::writeFileAtomically(
            path, delivered.content, repair ? runtime::Existing::Replace : runtime::Existing::Keep);
        if (error) {
            if (result.problem.empty())
                result.problem = std::string("Cannot write ") + delivered.name +
                                 " into the data directory: " + error.describe();
            continue;
        }
        result.installed.push_back(delivered.name);
    }
    const fs::path tips = runtime::resolveWinPath(runtime::splitDataFileName(equates::TipsFileName).fileName);
    if (!tipsFileSound(tips)) {
        if (std::string problem = rebuildTips(tips); !problem.empty()) {
            if (result.problem.empty()) // a delivered file that could not be written says more
                result.problem = std::move(problem);
        } else {
            result.installed.push_back(tips.filename().string());
        }
    }
    return result;
}

} // namespace kestrix::app
