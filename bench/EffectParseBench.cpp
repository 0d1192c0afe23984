// Parsing a 500-line effect of the show's kind from source, against loading the same effect's
// compiled form, which is what the show does at start-up.
#include "BenchEffectSource.h"

#include "Platform/Fx/CompiledEffect.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

void ParseBench(benchmark::State& state)
{
    const std::string text = BenchEffectSource();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseBenchEffect(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["lines"] = static_cast<double>(std::count(text.begin(), text.end(), '\n'));
}

void LoadBench(benchmark::State& state)
{
    const std::vector<unsigned char> bytes = CompiledBenchEffect();
    for (auto _ : state)
        benchmark::DoNotOptimize(fx::LoadCompiledEffect("Bench.fxo", bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

} // namespace

BENCHMARK(ParseBench)->Name("EffectParse/500lines");
BENCHMARK(LoadBench)->Name("EffectLoad/compiled");
