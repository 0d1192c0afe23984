// How a benchmark of bench/ runs. A failure, of its setup or of the code it measures, ends that
// benchmark with the failure's message as its reason while the rest of the run goes on. Figures
// that other developers' work on the shared machine can skew are taken three times and reported
// by their median, which is also what the ratios use.
#pragma once

#include "Framework/FrameworkEx.h"

#include <benchmark/benchmark.h>

#include <exception>

template <class Body>
void SkipOnFailure(benchmark::State& state, Body body)
{
    try {
        body();
    } catch (const FrameworkEx& failure) {
        state.SkipWithError(failure.message.c_str());
    } catch (const std::exception& failure) {
        state.SkipWithError(failure.what());
    }
}

// For ->Apply(RepeatForMedian); the report names the benchmark ".../repeats:3".
inline void RepeatForMedian(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Repetitions(3)->ReportAggregatesOnly(true);
}
