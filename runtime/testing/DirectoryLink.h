#pragma once

#include <filesystem>

// A symbolic link to a directory, for the tests of walks that must not go round a loop.
namespace kestrix::runtime::testing {

// Makes `link` name the directory `target`; false when the system refused.
bool makeDirectoryLink(const std::filesystem::path& target, const std::filesystem::path& link);

} // namespace kestrix::runtime::testing
