#include "runtime/testing/ChildProcesses.h"

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrix::runtime::testing {

namespace {

int statusOf(pid_t child)
{
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

std::vector<int> runTogether(int count, const std::function<int(int)>& body)
{
    int gate[2];
    if (pipe(gate) != 0)
        return {};
    std::vector<pid_t> children;
    for (int n = 0; n < count; ++n) {
        const pid_t child = fork();
        if (child == 0) {
            close(gate[1]);
            char go = 0;
            (void)!read(gate[0], &go, 1); // returns when the parent closes its end
            _exit(body(n));
        }
        children.push_back(child);
    }
    close(gate[0]);
    close(gate[1]);
    std::vector<int> statuses;
    for (const pid_t child : children)
        statuses.push_back(child > 0 ? statusOf(child) : -1);
    return statuses;
}

bool killedAt(CrashPoint point, long pass, const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        armCrashPoint(point, pass);
        work();
        _exit(0);
    }
    return child > 0 && statusOf(child) == 128 + SIGKILL;
}

} // namespace kestrix::runtime::testing

#endif
