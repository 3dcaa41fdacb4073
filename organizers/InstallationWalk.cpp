#include "organizers/InstallationWalk.h"

#include "organizers/BackupDirectory.h"
#include "runtime/FileIdentity.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <system_error>
#include <unordered_set>

namespace fs = std::filesystem;

namespace kestrix::organizers {

namespace {

// The directory as the file system knows it, so two ways to one directory are seen as one.
std::string realPath(const fs::path& native)
{
    return runtime::fileIdentity(native).value_or("path:" + native.string());
}

} // namespace

bool listDirectory(const fs::path& directory, std::vector<DirectoryEntry>& entries)
{
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec)
        return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return false;
        std::error_code typeError;
        DirectoryEntry e;
        e.native = it->path();
        e.name = runtime::pathText(it->path().filename());
        e.directory = it->is_directory(typeError); // follows links, as the walk does
        entries.push_back(std::move(e));
    }
    return !ec;
}

bool walkInstallation(const std::string& root, const InstallationVisitor& visitor, WalkCounts& counts,
                      const DirectoryLister& lister, int levels)
{
    struct Directory
    {
        std::string winPath;
        fs::path native;
    };
    const fs::path rootNative = runtime::resolveWinPath(root);
    std::unordered_set<std::string> visited{realPath(rootNative)};
    std::vector<Directory> level{{root, rootNative}};
    std::vector<DirectoryEntry> entries;
    while (!level.empty() && counts.levels < levels) {
        ++counts.levels;
        std::vector<Directory> next;
        for (const Directory& dir : level) {
            if (visitor.cancelled && visitor.cancelled())
                return false;
            entries.clear();
            if (!lister(dir.native, entries)) {
                ++counts.unreadableDirectories;
                continue;
            }
            for (const DirectoryEntry& e : entries) {
                if (e.name == "." || e.name == "..")
                    continue;
                const std::string upperName = runtime::upper(e.name);
                if (!e.directory) {
                    if (visitor.file && !visitor.file(dir.winPath, e, upperName))
                        return false;
                    continue;
                }
                if (isBackupDirectory(upperName)) {
                    ++counts.skippedDirectories;
                    continue;
                }
                const std::string path = dir.winPath + "\\" + e.name;
                if (visitor.enter && !visitor.enter(path, upperName))
                    continue;
                // A link back up the tree would be walked again and again.
                if (visited.insert(realPath(e.native)).second)
                    next.push_back({path, e.native});
            }
        }
        level = std::move(next);
    }
    return true;
}

} // namespace kestrix::organizers
