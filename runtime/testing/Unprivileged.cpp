#include "runtime/testing/Unprivileged.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kestrix::runtime::testing {

int runUnprivileged(const std::function<int()>& body)
{
#ifdef _WIN32
    (void)body;
    return -1;
#else
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0) {
            constexpr uid_t nobody = 65534;
            if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(125);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
#endif
}

bool writesCanBeDenied()
{
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

} // namespace kestrix::runtime::testing
