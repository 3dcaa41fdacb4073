#pragma once

#include "runtime/FileError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A text file read line by line, as the loaders read their list and source
// files: lines end at CR LF or LF, and a line longer than the record is cut
// (its number is kept, so the reader can say so).
namespace kestrix::runtime {

constexpr std::size_t TextLineLength = 512;

struct TextLines final
{
    std::vector<std::string> lines;
    FileError error; // set when the file could not be read
    std::uintmax_t bytes = 0;
    std::vector<std::size_t> cutLines; // 1-based numbers of the lines that were longer than the record
};

TextLines readTextLines(const std::filesystem::path& path, std::size_t maxLength = TextLineLength);
// The same over text already in memory.
std::vector<std::string> splitTextLines(const std::string& text, std::size_t maxLength = TextLineLength,
                                        std::vector<std::size_t>* cutLines = nullptr);

} // namespace kestrix::runtime
