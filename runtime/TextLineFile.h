#pragma once

#include "runtime/FileError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A text file read line by line, as the loaders read their list and source
// files: lines end at CR LF or LF, and a line longer than the record is cut.
namespace kestrix::runtime {

constexpr std::size_t TextLineLength = 512;

struct TextLines final
{
    std::vector<std::string> lines;
    FileError error; // set when the file could not be read
    std::uintmax_t bytes = 0;
};

TextLines readTextLines(const std::filesystem::path& path, std::size_t maxLength = TextLineLength);
// The same over text already in memory.
std::vector<std::string> splitTextLines(const std::string& text, std::size_t maxLength = TextLineLength);

} // namespace kestrix::runtime
