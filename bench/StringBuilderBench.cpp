// Generating a 3,000-character text (words, quotes, '<', expressions, line breaks)
// and reading the code back, as the String Builder does.
#include "utilities/StringBuilder.h"
#include "utilities/StringBuilderCleanup.h"

#include <benchmark/benchmark.h>

using namespace kestrix::utilities;

namespace {

std::string fullText()
{
    std::string text;
    for (int i = 0; text.size() < StringTextSize; ++i)
        text += "Line " + std::to_string(i) + " for {CLIP(Cus:Name)} isn't < {Cus:Limit} yet, so we wait\r\n";
    text.resize(StringTextSize - 4);
    return text + " end";
}

StringSettings settings()
{
    StringSettings s;
    s.variable = "Loc:Message";
    s.enter = true;
    s.indent = 5;
    s.nest = 2;
    s.end = 78;
    return s;
}

} // namespace

static void BuildFullText(benchmark::State& state)
{
    const std::string text = fullText();
    const StringSettings s = settings();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildString(text, s));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BuildFullText)->Unit(benchmark::kMicrosecond);

static void DecompileFullText(benchmark::State& state)
{
    std::string code;
    for (const std::string& line : buildString(fullText(), settings()).lines)
        code += line + "\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(decompileString(code));
}
BENCHMARK(DecompileFullText)->Unit(benchmark::kMicrosecond);
