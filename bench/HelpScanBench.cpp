// The Help Organizer's scan: a Clarion folder of 20,000 help files in 2,000
// directories (20 at the top, 99 below each), walked into an empty help list;
// every file found becomes a record. Beside it, the floor: the same tree only
// listed, as any walk must.
#include "organizers/HelpList.h"
#include "organizers/HelpScan.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

void writeTree(const fs::path& root, int directories, int files)
{
    const int top = 20;
    const int below = directories / top - 1;
    const int perDirectory = files / directories;
    char name[32];
    const auto fill = [&](const fs::path& dir) {
        fs::create_directories(dir);
        for (int f = 0; f < perDirectory; ++f) {
            std::snprintf(name, sizeof name, "HELP%04d.HLP", f);
            std::ofstream(dir / name) << "x";
        }
    };
    for (int t = 0; t < top; ++t) {
        std::snprintf(name, sizeof name, "D%02d", t);
        const fs::path upper = root / name;
        fill(upper);
        for (int b = 0; b < below; ++b) {
            std::snprintf(name, sizeof name, "S%03d", b);
            fill(upper / name);
        }
    }
    if (!fs::exists(root))
        throw std::runtime_error("cannot write the tree");
}

void scanTree(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    const int files = static_cast<int>(state.range(0));
    writeTree(dir.path() / "CW", static_cast<int>(state.range(1)), files);
    std::ofstream(organizers::HelpListTextName) << "! no entries: the walk alone\n";
    runtime::testing::ScriptedDialogs dialogs;
    long long added = 0;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        runtime::KeyedFile list("HelpLis" + std::to_string(run++) + ".TPS", organizers::helpListLayout());
        if (list.createIfMissing() || list.open())
            state.SkipWithError("cannot open the help list");
        organizers::HelpScanner scanner(list, (dir.path() / "CW").string(), dialogs);
        state.ResumeTiming();
        added = scanner.run(organizers::ClearChoice::None).added;
        benchmark::DoNotOptimize(added);
    }
    if (added != files)
        state.SkipWithError("the scan did not add every file");
    // One counter name for both, so the CSV report can hold them in one table.
    state.counters["items"] = static_cast<double>(added);
}

// The floor: the same tree listed directory by directory, each entry asked whether it is one.
void listTree(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    writeTree(dir.path() / "CW", static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
    long long entries = 0;
    for (auto _ : state) {
        entries = 0;
        std::vector<fs::path> level{dir.path() / "CW"};
        while (!level.empty()) {
            std::vector<fs::path> next;
            for (const fs::path& d : level) {
                for (const fs::directory_entry& e : fs::directory_iterator(d)) {
                    ++entries;
                    if (e.is_directory())
                        next.push_back(e.path());
                }
            }
            level = std::move(next);
        }
        benchmark::DoNotOptimize(entries);
    }
    state.counters["items"] = static_cast<double>(entries);
}

} // namespace

BENCHMARK(scanTree)->Args({20000, 2000})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(listTree)->Args({20000, 2000})->Unit(benchmark::kMillisecond)->Iterations(3);
