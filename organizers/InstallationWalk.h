#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The walk both scans make through the Clarion installation: breadth-first, a level at a time.
namespace kestrix::organizers {

constexpr int InstallationLevels = 12;

struct DirectoryEntry final
{
    std::string name; // as the program spells names (Windows-1252)
    bool directory = false;
    std::filesystem::path native;
};

// Lists one directory; false when it cannot be read.
using DirectoryLister = std::function<bool(const std::filesystem::path&, std::vector<DirectoryEntry>&)>;
bool listDirectory(const std::filesystem::path& directory, std::vector<DirectoryEntry>& entries);

struct InstallationVisitor final
{
    // A file, with the Windows path of its directory and its upper-cased name; false stops the walk.
    std::function<bool(const std::string& directory, const DirectoryEntry& file,
                       const std::string& upperName)>
        file;
    // A directory about to be entered (backup copies are already left out); false passes it by.
    std::function<bool(const std::string& path, const std::string& upperName)> enter;
    // Asked before each directory is listed; true stops the walk.
    std::function<bool()> cancelled;
};

struct WalkCounts final
{
    int levels = 0;                      // levels walked
    long long skippedDirectories = 0;    // backup-like names
    long long unreadableDirectories = 0; // could not be listed
};

// Walks below `root` (a Windows path) at most `levels` levels deep. Backup-like directories are
// skipped and counted, directories that cannot be listed are counted and passed by, and a directory
// reached twice (through a link) is walked once. False when cancelled or stopped by the visitor.
bool walkInstallation(const std::string& root, const InstallationVisitor& visitor, WalkCounts& counts,
                      const DirectoryLister& lister = listDirectory, int levels = InstallationLevels);

} // namespace kestrix::organizers
