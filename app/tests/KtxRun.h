#pragma once

#include "app/cli/KtxCommands.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

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

} // namespace kestrix::testing
