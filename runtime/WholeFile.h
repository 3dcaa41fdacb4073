#pragma once

#include "runtime/FileError.h"

#include <filesystem>
#include <string>

// A file's bytes, all of them, as the readers of lists, settings and exchange files take them.
namespace kestrix::runtime {

struct FileBytes final
{
    std::string bytes;
    FileError error; // set when the file could not be read; `bytes` is then empty
};

// A missing file is FileNotFound; a folder, or anything else that is not a file, AccessDenied.
FileBytes readWholeFile(const std::filesystem::path& path);

} // namespace kestrix::runtime
