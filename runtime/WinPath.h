#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Windows path names as the program's files and settings spell them
// ("%CW%\LIBSRC", "C5Help.HLP"). On other systems they are resolved as Wine
// does: '\' separates, and a component whose exact case is missing matches
// an existing entry without regard to case.
namespace kestrix::runtime {

std::filesystem::path resolveWinPath(std::string_view winPath);
bool winPathExists(std::string_view winPath);
bool winDirectoryExists(std::string_view winPath);
// "C:\a\b\" -> "C:\a\b"
std::string withoutTrailingBackslashes(std::string_view winPath);
// Text after the last '\' (or '/').
std::string fileNamePart(std::string_view winPath);
// Native path back to the program's own spelling ('\' separators on Windows too).
std::string toWinPath(const std::filesystem::path& path);
// A native path or file name as the program's text (Windows-1252), whatever the system's own encoding.
std::string pathText(const std::filesystem::path& path);

} // namespace kestrix::runtime
