// The start-up build of the particle flow field: 61^3 cells, each summing 60 vortices.
#include "Framework/Noise/FlowField.h"

#include <benchmark/benchmark.h>

namespace {

void BuildVortexFieldBench(benchmark::State& state)
{
    FlowField field;
    for (auto _ : state) {
        BuildVortexField(field);
        benchmark::DoNotOptimize(field.grid->cells.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(field.size) * field.size * field.size);
}

} // namespace

BENCHMARK(BuildVortexFieldBench)->Name("BuildVortexField")->Unit(benchmark::kMillisecond);
