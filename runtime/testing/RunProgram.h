#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Starts a program of the build as a real process, for what only a process shows: its exit code
// when its standard output cannot be written.
namespace kestrix::runtime::testing {

enum class StandardOutput {
    Discarded, // every write succeeds and goes nowhere
    Failing,   // every write fails, as on a full disk
};

// Runs `program` with `args`, its standard output as `output` says and its standard error written to
// the file `errors`; its exit code, or -1 when it could not be run.
int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               StandardOutput output, const std::filesystem::path& errors);

} // namespace kestrix::runtime::testing
