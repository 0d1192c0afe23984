// The console report, followed by the ratios of pairs of benchmarks run together, and the ratios
// that benchmarks which compare two versions of something measured themselves: on a shared
// machine a ratio measured in one run says more than either figure alone.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

struct BenchRatio {
    std::string label;
    std::string numerator;   // full benchmark names, as printed in the report
    std::string denominator;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(OutputOptions options, std::vector<BenchRatio> ratios)
        : ConsoleReporter(options), ratios(std::move(ratios))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<BenchRatio> ratios;
    std::map<std::string, double> realTimeNs; // per iteration, of every benchmark that ran
    // Ratios a benchmark measured within itself (its counters named "new/before" and
    // "cpu_new/before"), by benchmark.
    std::map<std::string, std::pair<double, double>> ownRatios;
};
