// Baking the 128^3 noise volume (what start-up costs when the archive lacks "Data\noise.bin"),
// with one thread and with two. Real time, since the work runs on threads of its own.
#include "Framework/Noise/NoiseVolume.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void NoiseVolumeBakeBench(benchmark::State& state)
{
    const auto threads = static_cast<unsigned>(state.range(0));
    std::vector<uint8_t> volume(NoiseVolume::ByteCount);
    constexpr size_t rowPitch = NoiseVolume::Edge;
    constexpr size_t slicePitch = rowPitch * NoiseVolume::Edge;
    for (auto _ : state) {
        NoiseVolume::Bake(volume.data(), NoiseVolume::Edge, rowPitch, slicePitch, threads);
        benchmark::DoNotOptimize(volume.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(NoiseVolume::ByteCount));
}

} // namespace

BENCHMARK(NoiseVolumeBakeBench)
    ->Name("NoiseVolumeBake")
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Repetitions(3) // one bake takes seconds, so a single stall would decide the ratio
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
