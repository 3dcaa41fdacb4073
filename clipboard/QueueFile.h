#pragma once

#include "runtime/FileError.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The clipboard queue kept for the next run, in a file of its own in the data
// directory. Each line is stored with its length, so line ends and trailing
// blanks inside it come back exactly.
namespace kestrix::clipboard {

constexpr const char* QueueFileName = "ClipQueue.DAT";

std::string queueFileText(const std::vector<std::string>& lines);

struct QueueFileRead final
{
    std::vector<std::string> lines; // every whole line before any damage
    std::string problem;            // says what was not read; empty when the file was read whole
};
QueueFileRead parseQueueFile(std::string_view bytes);

// Replaces the file in one step: a crash leaves the old queue or the new one.
[[nodiscard]] runtime::FileError saveQueueFile(const std::filesystem::path& file,
                                               const std::vector<std::string>& lines);
// No file is an empty queue.
QueueFileRead loadQueueFile(const std::filesystem::path& file);

} // namespace kestrix::clipboard
