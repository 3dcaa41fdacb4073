#pragma once

#include "app/cli/KtxCommands.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#ifdef KTX_BINARY
#include <sys/wait.h>
#endif

// Runs ktx in this process and captures what it prints.
namespace kestrix::testing {

struct KtxRun
{
    int code = 0;
    std::string out;
    std::string err;
};

inline KtxRun ktx(std::vector<std::string> args)
{
    args.insert(args.begin(), "ktx");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::ostringstream out, err;
    const std::filesystem::path before = std::filesystem::current_path();
    KtxRun run;
    run.code = kestrix::app::runKtx(static_cast<int>(argv.size()), argv.data(), out, err);
    std::filesystem::current_path(before);
    run.out = out.str();
    run.err = err.str();
    return run;
}

#ifdef KTX_BINARY
// Runs the real ktx binary through the shell with `redirections` (e.g. "> /dev/full"); its exit code.
inline int ktxProcess(const std::vector<std::string>& args, const std::string& redirections)
{
    std::string command = "'" + std::string(KTX_BINARY) + "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    const int status = std::system((command + " " + redirections).c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

} // namespace kestrix::testing
