// Parsing timelines far beyond the show's dozen lines, as a hostile archive may hold them: a
// million entries in time order and in reverse, and a million blank lines before one entry or
// between a time and its scene name. Each iteration parses the whole text once.
#include "Framework/SceneHandler/SceneTimeline.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int Lines = 1'000'000;

std::string Entries(bool reversed)
{
    std::string text;
    for (int i = 0; i < Lines; ++i)
        text += std::to_string(reversed ? Lines - i : i) + " Scene" + std::to_string(i % 9) + "\n";
    return text;
}

void Parse(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        SceneTimeline timeline;
        timeline.ParseTimeline(text.data(), text.size(), "Scenes.txt");
        benchmark::DoNotOptimize(timeline.Entries().data());
    }
    state.SetItemsProcessed(state.iterations() * Lines);
    state.SetBytesProcessed(state.iterations() * int64_t(text.size()));
}

void InOrderBench(benchmark::State& state)
{
    Parse(state, Entries(false));
}

void ReversedBench(benchmark::State& state)
{
    Parse(state, Entries(true));
}

void BlankLinesBench(benchmark::State& state)
{
    Parse(state, std::string(Lines, '\n') + "0 Intro\n");
}

void NameAfterBlankLinesBench(benchmark::State& state)
{
    Parse(state, "0" + std::string(Lines, '\n') + "Intro\n");
}

} // namespace

BENCHMARK(InOrderBench)->Name("TimelineParse/1M-entries-in-order")->Unit(benchmark::kMillisecond);
BENCHMARK(ReversedBench)->Name("TimelineParse/1M-entries-reversed")->Unit(benchmark::kMillisecond);
BENCHMARK(BlankLinesBench)->Name("TimelineParse/1M-blank-lines")->Unit(benchmark::kMillisecond);
BENCHMARK(NameAfterBlankLinesBench)->Name("TimelineParse/1M-blank-lines-inside-an-entry")->Unit(benchmark::kMillisecond);
