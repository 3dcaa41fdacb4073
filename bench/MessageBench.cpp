// Generating and decompiling a 1000-character message with expressions and line breaks.
#include "message/IconList.h"
#include "message/MessageDecompiler.h"
#include "message/MessageGenerator.h"
#include "message/MessageRecord.h"

#include <benchmark/benchmark.h>

using namespace kestrix;

namespace {

runtime::Record longMessage()
{
    runtime::Record r = message::templateMessage();
    std::string text;
    int i = 0;
    while (text.size() < 960) {
        text += "Line " + std::to_string(i) +
                " for {CLIP(Cus:Name)} owes {FORMAT(Cus:Amount,@n12.2)} since it's due|";
        ++i;
    }
    r.setText(message::Mes::Text, text.substr(0, 1000 - 10) + " the end.");
    r.setText(message::Mes::Caption, "Account {Cus:Number} of {CLIP(Cus:Name)}");
    r.setText(message::Mes::Icon, "Exclamation");
    for (int b : {2, 3, 7})
        r.setNumber(message::Mes::Button, 1, b);
    r.setNumber(message::Mes::CodeLoop, 1);
    return r;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

} // namespace

static void GenerateLongMessage(benchmark::State& state)
{
    const runtime::Record r = longMessage();
    const message::MessageGenerator generator({});
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.generate(r));
}
BENCHMARK(GenerateLongMessage)->Unit(benchmark::kMicrosecond);

static void DecompileLongMessage(benchmark::State& state)
{
    const std::string source = joined(message::MessageGenerator({}).generate(longMessage()).lines);
    message::DecompileSettings settings;
    settings.icons = message::standardIconNames();
    for (auto _ : state)
        benchmark::DoNotOptimize(message::decompileMessage(source, settings));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(source.size()));
}
BENCHMARK(DecompileLongMessage)->Unit(benchmark::kMicrosecond);
