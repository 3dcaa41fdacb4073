// The Map Viewer's scan of a generated program: 5,000 prototypes declared in
// 50 module include files beside the program, each file read from disk.
#include "runtime/testing/TempDir.h"
#include "utilities/MapScanner.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

using namespace kestrix;

namespace {

void writeProgram(int modules, int prototypes)
{
    std::ofstream program("bigapp.clw", std::ios::binary);
    program
        << "  PROGRAM\r\n  INCLUDE('EQUATES.CLW'),ONCE\r\n  MAP\r\n"
           "    MODULE('BIGAP_SF.CLW')\r\n      StandardWarning(LONG),LONG\r\n    END\r\n  END\r\n  CODE\r\n";
    const int perModule = prototypes / modules;
    for (int m = 0; m < modules; ++m) {
        char name[16];
        std::snprintf(name, sizeof name, "BIGAP%03d", m + 1);
        std::ofstream include(std::string(name) + ".INC", std::ios::binary);
        include << "  MODULE('" << name << ".CLW')\r\n";
        for (int p = 0; p < perModule; ++p)
            include << "Proc" << m << '_' << p
                    << " PROCEDURE(LONG pId, *STRING pName, <BYTE pFlag>),BYTE,PROC\r\n";
        include << "  END\r\n";
        if (!include)
            throw std::runtime_error("cannot write the generated program");
    }
}

void scanGeneratedProgram(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    writeProgram(static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
    std::size_t found = 0;
    for (auto _ : state) {
        const utilities::MapScan scan = utilities::scanMapSource("bigapp.clw");
        found = scan.lists.map.size();
        benchmark::DoNotOptimize(found);
    }
    if (found != static_cast<std::size_t>(state.range(0)))
        state.SkipWithError("the scan did not find every prototype");
    state.counters["prototypes"] = static_cast<double>(found);
}

} // namespace

BENCHMARK(scanGeneratedProgram)->Args({5000, 50})->Unit(benchmark::kMillisecond);
