// One SyncTrack::valueAt per iteration on a track of 200 keys spread over the show: at the rows of
// successive 60 Hz frames, as during playback, and at random rows.
#include "Framework/Timer/DemoSyncTimer.h"
#include "sync/track.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int KeyCount = 200;
constexpr float ShowRows = 2304.0f; // 135 s at 1024/60 rows a second

SyncTrack MakeTrack()
{
    SyncTrack track("Bench");
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int i = 0; i < KeyCount; ++i) {
        const auto row = static_cast<uint32_t>(i * ShowRows / KeyCount) + random() % 3;
        track.keys.insert_or_assign(row, SyncKey{value(random), static_cast<int32_t>(i % 4)});
    }
    return track;
}

void PlaybackBench(benchmark::State& state)
{
    const SyncTrack track = MakeTrack();
    const double rowsPerFrame = SyncRowRate / 60.0;
    double row = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(track.valueAt(static_cast<float>(row)));
        row += rowsPerFrame;
        if (row >= ShowRows)
            row = 0.0;
    }
    state.SetItemsProcessed(state.iterations());
}

void RandomBench(benchmark::State& state)
{
    const SyncTrack track = MakeTrack();
    std::mt19937 random(99);
    std::uniform_real_distribution<float> rows(0.0f, ShowRows);
    std::vector<float> times(4096);
    for (float& time : times)
        time = rows(random);
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(track.valueAt(times[next]));
        next = (next + 1) % times.size();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(PlaybackBench)->Name("SyncTrackValueAt/playback");
BENCHMARK(RandomBench)->Name("SyncTrackValueAt/random");
