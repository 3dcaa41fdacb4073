#pragma once

#include "runtime/CrashPoint.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Several programs at once, and programs killed part-way, for the tests of files shared between
// processes. A child is this test program started again on the current test alone, in the same
// current directory: the test runs once more up to the call that started the child, which then does
// the child's part and ends. So a test makes at most one of these calls, and what it does before the
// call must give the same result when done twice (TempDir, in a child, keeps the parent's folder).
namespace kestrix::runtime::testing {

// Called by the test program's main: takes out the arguments that make this run a child, and names
// each test as it starts ("Suite.Name"), the one a child runs.
void takeChildArguments(int& argc, char** argv);
void setCurrentTest(std::string fullName);
// True in a child started by one of the calls below.
bool inChild();

// Runs body(n) for n from 0 to count - 1, each in its own child, released together once all are
// started. Returns each child's exit status (see StartedProgram::wait()).
std::vector<int> runTogether(int count, const std::function<int(int)>& body);

// Runs `work` in a child that kills itself at the `pass`-th crossing of `point`; true when it died there
// (and not by ending or failing first).
bool killedAt(CrashPoint point, long pass, const std::function<void()>& work);

// A child that runs `body` and ends with its result. The two take turns: the child tells how far it
// got with tellParent() and waits with waitForParent() until the parent calls letGo().
class Child final
{
public:
    explicit Child(const std::function<int()>& body);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    // The next line the child told; none when it ended first.
    std::optional<std::string> heard();
    void letGo();
    // Lets go and waits for the child to end: its exit status.
    int wait();

private:
    struct Running;
    std::unique_ptr<Running> m_running;
};
// In a Child's body: tells the parent `line`.
void tellParent(std::string_view line);
// In a Child's body: returns once the parent called letGo().
void waitForParent();

} // namespace kestrix::runtime::testing
