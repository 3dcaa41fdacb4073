#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Starts programs of the build as real processes, for what only a process shows: its exit code when its
// standard output cannot be written, work cut off by its death, several programs at once.
namespace kestrix::runtime::testing {

enum class StandardOutput {
    Shared,    // this process's own
    Discarded, // every write succeeds and goes nowhere
    Failing,   // every write fails, as on a full disk
    Read,      // read by this process through StartedProgram::readLine()
};

struct ProgramStart
{
    std::filesystem::path program;
    std::vector<std::string> args;
    StandardOutput output = StandardOutput::Shared;
    std::filesystem::path errors; // its standard error goes to this file; this process's own when empty
    std::vector<std::pair<std::string, std::string>> environment; // set for it, over this process's own
};

// A program running beside this one; the destructor waits for it.
class StartedProgram final
{
public:
    explicit StartedProgram(const ProgramStart& start);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return m_process != Invalid; }
    // Why it could not be started (the step and the system's error number); empty when it was.
    const std::string& startProblem() const { return m_startProblem; }
    // The next line of its standard output (StandardOutput::Read), without the line end; none when the
    // output ended first.
    std::optional<std::string> readLine();
    // Waits for it to end: its exit code, or 128 + the signal that ended it (a program that ends itself
    // at a crash point gives 137 on every system); -1 when it could not be started.
    int wait();

private:
    // A process id or a Windows HANDLE, and a file descriptor or a HANDLE, held as integers.
    using Handle = std::intptr_t;
    static constexpr Handle Invalid = -1;
    Handle m_process = Invalid;
    Handle m_output = Invalid;
    std::string m_pending;
    std::string m_startProblem;
    std::optional<int> m_status;
};

// The status of a program that killed itself at a crash point.
inline constexpr int KilledStatus = 137;

// Runs `program` with `args`, its standard output as `output` says and its standard error written to
// the file `errors`; its exit status as StartedProgram::wait() gives it.
int runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               StandardOutput output, const std::filesystem::path& errors);

// The program this process runs, to start it again.
std::filesystem::path thisProgram();

} // namespace kestrix::runtime::testing
