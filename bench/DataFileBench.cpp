// Opening the configuration file as start-up does, and reading its record.
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileOpener.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <benchmark/benchmark.h>

using namespace kestrix;

static void OpenConfigurationFile(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    {
        runtime::KeyedFile file("config5.tps", config::configLayout());
        data::openDataFile(file, dialogs);
        config::ConfigurationForm(file).save(dialogs);
    }
    for (auto _ : state) {
        runtime::KeyedFile file("config5.tps", config::configLayout());
        if (data::openDataFile(file, dialogs) != data::OpenOutcome::Opened)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(config::readConfiguration(file));
    }
}
BENCHMARK(OpenConfigurationFile)->Unit(benchmark::kMicrosecond);

static void AddRecordsInStreamMode(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    auto layout = std::make_shared<runtime::RecordLayout>("B");
    layout->addString("NAME", 30);
    layout->addNumber("N", runtime::FieldType::Long);
    layout->addKey("BYNAME", {0});
    runtime::KeyedFile file("BENCH", layout);
    kestrix::runtime::testing::requireOk(file.create(), "file.create()");
    kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    runtime::Record record = file.newRecord();
    for (auto _ : state) {
        kestrix::runtime::testing::requireOk(file.empty(), "file.empty()");
        kestrix::runtime::testing::requireOk(file.stream(), "file.stream()");
        for (int i = 0; i < 10000; ++i) {
            record.setText(0, "EQUATE:" + std::to_string(i));
            record.setNumber(1, i);
            kestrix::runtime::testing::requireOk(file.add(record), "file.add(record)");
        }
        kestrix::runtime::testing::requireOk(file.flush(), "file.flush()");
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(AddRecordsInStreamMode)->Unit(benchmark::kMillisecond);

static void ReadInKeyOrder(benchmark::State& state)
{
    runtime::testing::TempDir dir;
    auto layout = std::make_shared<runtime::RecordLayout>("B");
    layout->addString("NAME", 30);
    layout->addKey("BYNAME", {0});
    runtime::KeyedFile file("BENCH", layout);
    kestrix::runtime::testing::requireOk(file.create(), "file.create()");
    kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    runtime::Record record = file.newRecord();
    kestrix::runtime::testing::requireOk(file.stream(), "file.stream()");
    for (int i = 0; i < 10000; ++i) {
        record.setText(0, "name" + std::to_string(i * 7919 % 10000));
        kestrix::runtime::testing::requireOk(file.add(record), "file.add(record)");
    }
    kestrix::runtime::testing::requireOk(file.flush(), "file.flush()");
    for (auto _ : state) {
        file.setOrder(0);
        int n = 0;
        while (file.next(record).ok())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(ReadInKeyOrder)->Unit(benchmark::kMillisecond);
