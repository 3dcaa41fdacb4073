#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Which file or directory a path reaches, as the file system knows it: two paths to one directory (one
// through a link) give the same identity, on every system. None when the path cannot be opened.
namespace kestrix::runtime {

std::optional<std::string> fileIdentity(const std::filesystem::path& path);

} // namespace kestrix::runtime
