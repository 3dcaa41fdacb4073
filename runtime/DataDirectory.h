#pragma once

#include <filesystem>
#include <string>

// The one folder the program works in. It becomes the current directory, so
// every relative file name (data files, INI files, logs) resolves there.
namespace kestrix::runtime {

std::filesystem::path defaultDataDirectory();

struct DataDirectoryResult final
{
    bool ok = false;
    std::string message; // why the folder cannot be used
};

// Creates the folder when missing and makes it the current directory.
DataDirectoryResult enterDataDirectory(const std::filesystem::path& directory);

} // namespace kestrix::runtime
