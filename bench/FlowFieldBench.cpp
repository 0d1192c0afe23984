// The start-up build of the particle flow field: 61^3 cells, each summing 60 vortices, on one
// thread and on two. Real time, since the work runs on threads of its own.
#include "Framework/Noise/FlowField.h"

#include <benchmark/benchmark.h>

namespace {

void BuildVortexFieldBench(benchmark::State& state)
{
    const auto threads = static_cast<unsigned>(state.range(0));
    FlowField field;
    for (auto _ : state) {
        BuildVortexField(field, threads);
        benchmark::DoNotOptimize(field.grid->cells.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(field.size) * field.size * field.size);
}

} // namespace

BENCHMARK(BuildVortexFieldBench)
    ->Name("BuildVortexField")
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Repetitions(3)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
