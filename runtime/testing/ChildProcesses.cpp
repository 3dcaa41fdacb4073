#include "runtime/testing/ChildProcesses.h"

#include "runtime/FileLock.h"
#include "runtime/testing/RunProgram.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace kestrix::runtime::testing {

namespace {

constexpr std::string_view ChildArgument = "--kestrix-child=";
constexpr std::string_view GateArgument = "--kestrix-gate=";

struct Role
{
    std::string test;
    std::optional<int> child; // the index of this child; none in the test run itself
    fs::path gate;
};

Role& role()
{
    static Role r;
    return r;
}

// Starts this program again on the current test, as child `index`.
std::unique_ptr<StartedProgram> startChild(int index, StandardOutput output, const fs::path& gate = {})
{
    ProgramStart start{thisProgram(),
                       {"--gtest_filter=" + role().test, "--gtest_brief=1",
                        std::string(ChildArgument) + std::to_string(index)},
                       output,
                       {},
                       {}};
    if (!gate.empty())
        start.args.push_back(std::string(GateArgument) + gate.string());
    return std::make_unique<StartedProgram>(start);
}

// In a child: ends it with the body's result, its output written out.
[[noreturn]] void endChild(int status)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::exit(status);
}

fs::path freshGate()
{
    std::random_device rd;
    static std::atomic<int> counter{0};
    return fs::temp_directory_path() /
           ("kestrix-gate-" + std::to_string(rd()) + "-" + std::to_string(counter++));
}

} // namespace

void takeChildArguments(int& argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, ChildArgument.size()) == ChildArgument)
            role().child = std::atoi(argv[i] + ChildArgument.size());
        else if (arg.substr(0, GateArgument.size()) == GateArgument)
            role().gate = fs::path(std::string(arg.substr(GateArgument.size())));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
}

void setCurrentTest(std::string fullName)
{
    role().test = std::move(fullName);
}

bool inChild()
{
    return role().child.has_value();
}

std::vector<int> runTogether(int count, const std::function<int(int)>& body)
{
    if (inChild()) {
        waitForParent(); // released together with the others
        endChild(body(*role().child));
    }
    const fs::path gate = freshGate();
    std::vector<int> statuses;
    {
        FileLock closed = FileLock::acquire(gate);
        std::vector<std::unique_ptr<StartedProgram>> children;
        for (int n = 0; n < count; ++n)
            children.push_back(startChild(n, StandardOutput::Shared, closed ? gate : fs::path()));
        closed.release();
        for (const auto& child : children)
            statuses.push_back(child->wait());
    }
    std::error_code ec;
    fs::remove(gate, ec);
    return statuses;
}

bool killedAt(CrashPoint point, long pass, const std::function<void()>& work)
{
    if (inChild()) {
        armCrashPoint(point, pass);
        work();
        endChild(0);
    }
    return startChild(0, StandardOutput::Shared)->wait() == KilledStatus;
}

struct Child::Running
{
    fs::path gatePath;
    FileLock gate;
    std::unique_ptr<StartedProgram> program;
};

Child::Child(const std::function<int()>& body)
{
    if (inChild())
        endChild(body());
    m_running = std::make_unique<Running>();
    m_running->gatePath = freshGate();
    m_running->gate = FileLock::acquire(m_running->gatePath);
    m_running->program =
        startChild(0, StandardOutput::Read, m_running->gate ? m_running->gatePath : fs::path());
}

Child::~Child()
{
    wait();
    std::error_code ec;
    fs::remove(m_running->gatePath, ec);
}

std::optional<std::string> Child::heard()
{
    return m_running->program->readLine();
}

void Child::letGo()
{
    m_running->gate.release();
}

int Child::wait()
{
    letGo();
    return m_running->program->wait();
}

void tellParent(std::string_view line)
{
    std::cout << line << std::endl;
}

void waitForParent()
{
    if (!role().gate.empty())
        (void)FileLock::acquire(role().gate);
}

} // namespace kestrix::runtime::testing
