// Analyse plus FindConflicts on a window of 5,000 controls in nested groups and
// tabs with 500 menu items and hot keys, and on one twice as large.
#include "bench/BenchMemory.h"
#include "keyanalysis/WindowAnalysis.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <benchmark/benchmark.h>

using namespace kestrix;

namespace {

std::string bigWindow(int controls, int menuItems)
{
    std::string w = "Big WINDOW('Big'),AT(,,600,400),MDI,SYSTEM\r\n MENUBAR\r\n";
    for (int m = 0; m < menuItems / 10; ++m) {
        w += "  MENU('&Menu" + std::to_string(m) + "'),USE(?M" + std::to_string(m) + ")\r\n";
        for (int i = 0; i < 10; ++i)
            w += "   ITEM('&Item " + std::to_string(i) + "'),USE(?I" + std::to_string(m) + "_" +
                 std::to_string(i) + "),KEY(Ctrl" + static_cast<char>('A' + i) + ")\r\n";
        w += "  END\r\n";
    }
    w += " END\r\n SHEET,AT(0,0,600,380),USE(?Sheet)\r\n";
    const int tabs = 10;
    const int perTab = controls / tabs;
    for (int t = 0; t < tabs; ++t) {
        w += "  TAB('&Tab " + std::to_string(t) + "'),USE(?Tab" + std::to_string(t) + ")\r\n";
        for (int c = 0; c < perTab; c += 10) {
            w += "   GROUP('&Group'),AT(0,0,100,100),USE(?G" + std::to_string(t) + "_" + std::to_string(c) +
                 ")\r\n";
            for (int k = 0; k < 9; ++k) {
                const std::string n = std::to_string(t) + "_" + std::to_string(c + k);
                w += k % 3 == 0 ? "    PROMPT('&Field " + n + ":'),AT(0,0),USE(?P" + n + ")\r\n"
                     : k % 3 == 1
                         ? "    BUTTON('&Button " + n + "'),AT(0,0,40,12),USE(?B" + n + "),ALRT(F2Key)\r\n"
                         : "    CHECK('C&heck " + n + "'),AT(0,0),USE(C" + n + ")\r\n";
            }
            w += "   END\r\n";
        }
        w += "  END\r\n";
    }
    w += " END\r\nEND\r\n";
    return w;
}

void analyse(benchmark::State& state)
{
    bench::keepFreedMemory();
    runtime::testing::TempDir dir;
    const std::string text = bigWindow(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    runtime::testing::ScriptedDialogs dialogs;
    keyanalysis::WindowAnalysis analysis(dialogs, keyanalysis::FrameStore::inDataDirectory());
    for (auto _ : state) {
        analysis.analyse(text, {});
        benchmark::DoNotOptimize(analysis.queues().alt.size());
    }
    state.counters["controls"] = static_cast<double>(analysis.queues().alt.size());
}

} // namespace

BENCHMARK(analyse)->Args({5000, 500})->Args({10000, 1000})->Unit(benchmark::kMillisecond);
