#pragma once

#include "runtime/FileError.h"

#include <filesystem>
#include <string_view>

// Whole-or-absent writes: the text goes to a temporary file beside the target,
// which is then renamed onto it. A program killed part-way leaves the old file
// (or none) and at worst a stray temporary; a symbolic link at the target is
// replaced by the new file, never written through.
namespace kestrix::runtime {

enum class Existing { Replace, Keep };

// With Existing::Keep a file that is already there is left as it is and the
// call reports FileError::none() (the caller's copy is not needed).
FileError writeFileAtomically(const std::filesystem::path& target, std::string_view content,
                              Existing existing = Existing::Replace);

// Renames a finished file onto `target` (same folder), in one step.
FileError moveFileAtomically(const std::filesystem::path& from, const std::filesystem::path& target,
                             Existing existing = Existing::Replace);

// A name in the target's folder that no other program is using for its own temporary.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target);

} // namespace kestrix::runtime
