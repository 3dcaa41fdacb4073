#pragma once

#include "app/cli/KtxCommands.h"
#include "runtime/testing/RunProgram.h"
#include "runtime/testing/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The lines of what a command printed, without their line feeds.
inline std::vector<std::string> outputLines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

#ifdef KESTRIX_SOURCE_DIR
inline const std::string SampleClarionRoot = std::string(KESTRIX_SOURCE_DIR) + "/samples/clarion";
// The sample dictionary the dictionary commands are tried on.
inline const std::string SampleDictionary =
    std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD";
#endif

// A scratch folder (the current directory while it lives) with a data directory in it; every run of
// ktx uses that data directory, and the sample installation where `clarionRoot` is set.
struct KtxWorkspace
{
    kestrix::runtime::testing::TempDir dir;
    std::string data = (dir.path() / "data").string();
    std::string clarionRoot;

    KtxRun run(std::vector<std::string> args) const
    {
        if (!clarionRoot.empty())
            args.insert(args.begin(), {"--set", "CWPATH=" + clarionRoot});
        args.insert(args.begin(), {"--data-dir", data});
        return ktx(std::move(args));
    }
    // Writes a file into the scratch folder; its name, to pass to a command.
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(dir.path() / name, std::ios::binary) << text;
        return name;
    }
};

#ifdef KTX_BINARY
// Runs the real ktx binary, its standard output as `output` says, its errors into `errors`; its exit code.
inline int ktxProcess(const std::vector<std::string>& args, kestrix::runtime::testing::StandardOutput output,
                      const std::string& errors)
{
    return kestrix::runtime::testing::runProgram(KTX_BINARY, args, output, errors);
}
#endif

} // namespace kestrix::testing
