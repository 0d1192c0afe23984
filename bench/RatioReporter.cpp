#include "RatioReporter.h"

#include <cstdio>
#include <ostream>

namespace {

double Nanoseconds(const benchmark::BenchmarkReporter::Run& run)
{
    const double perIteration = run.GetAdjustedRealTime();
    switch (run.time_unit) {
    case benchmark::kSecond:
        return perIteration * 1e9;
    case benchmark::kMillisecond:
        return perIteration * 1e6;
    case benchmark::kMicrosecond:
        return perIteration * 1e3;
    case benchmark::kNanosecond:
        break;
    }
    return perIteration;
}

} // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred)
            continue;
        const auto real = run.counters.find("new/before"), cpu = run.counters.find("cpu_new/before");
        if (real != run.counters.end() && cpu != run.counters.end()) {
            const std::string name = run.benchmark_name();
            ownRatios[name.substr(0, name.find("/iterations:"))] = {real->second.value, cpu->second.value};
        }
        // With repetitions the median stands for the benchmark (a busy machine skews the mean); a
        // single run stands for itself.
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            realTimeNs[run.run_name.str()] = Nanoseconds(run);
        else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
            realTimeNs[run.benchmark_name()] = Nanoseconds(run);
    }
}

void RatioReporter::Finalize()
{
    std::ostream& out = GetOutputStream();
    bool header = false;
    for (const BenchRatio& ratio : ratios) {
        const auto numerator = realTimeNs.find(ratio.numerator);
        const auto denominator = realTimeNs.find(ratio.denominator);
        if (numerator == realTimeNs.end() || denominator == realTimeNs.end() || denominator->second <= 0.0)
            continue; // one side was filtered out or failed
        if (!header) {
            out << "\nRatios of real time (same run):\n";
            header = true;
        }
        char line[256];
        const double value = numerator->second / denominator->second;
        std::snprintf(line, sizeof line, "  %-52s %8.3f\n", ratio.label.c_str(), value);
        out << line;
    }
    if (!ownRatios.empty())
        out << "\nNew / before, measured within each benchmark (real time, CPU time of the process):\n";
    for (const auto& [name, values] : ownRatios) {
        char line[256];
        std::snprintf(line, sizeof line, "  %-52s %8.3f %8.3f\n", name.c_str(), values.first, values.second);
        out << line;
    }
    ConsoleReporter::Finalize();
}
