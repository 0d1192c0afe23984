// One AnimCurve evaluation per iteration on a 200-key curve over the 135-second show: at the times
// of successive 60 Hz frames (the cached segment search's case) and at random times.
#include "Framework/Scene/AnimCurve.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int KeyCount = 200;
constexpr float ShowSeconds = 135.0f;

AnimCurve MakeCurve()
{
    AnimCurve curve("Camera1.translateX");
    std::mt19937 random(4321);
    std::uniform_real_distribution<float> slope(-2.0f, 2.0f);
    for (int i = 0; i < KeyCount; ++i) {
        const float time = i * ShowSeconds / KeyCount;
        curve.keys.push_back(CurveKey{time, 10.0f * std::sin(time * 0.3f), slope(random), slope(random)});
    }
    return curve;
}

void PlaybackBench(benchmark::State& state)
{
    AnimCurve curve = MakeCurve();
    double time = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluate(curve, static_cast<float>(time)));
        time += 1.0 / 60.0;
        if (time >= ShowSeconds)
            time = 0.0;
    }
    state.SetItemsProcessed(state.iterations());
}

void RandomBench(benchmark::State& state)
{
    AnimCurve curve = MakeCurve();
    std::mt19937 random(77);
    std::uniform_real_distribution<float> seconds(0.0f, ShowSeconds);
    std::vector<float> times(4096);
    for (float& time : times)
        time = seconds(random);
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluate(curve, times[next]));
        next = (next + 1) % times.size();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(PlaybackBench)->Name("AnimCurveEvaluate/playback");
BENCHMARK(RandomBench)->Name("AnimCurveEvaluate/random");
