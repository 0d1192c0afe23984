// ql_bench: every benchmark of bench/, then the ratios between related ones.
#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Colour only on a terminal, as the library's own reporter does by default.
    using benchmark::ConsoleReporter;
    const auto options = isatty(STDOUT_FILENO) ? ConsoleReporter::OO_Color : ConsoleReporter::OO_None;
    RatioReporter reporter(options, {
        {"noise bake 128^3: 1 thread / 2 threads", "NoiseVolumeBake/threads:1/repeats:3/real_time",
         "NoiseVolumeBake/threads:2/repeats:3/real_time"},
        {"SyncTrack::valueAt: random / playback", "SyncTrackValueAt/random", "SyncTrackValueAt/playback"},
        {"AnimCurve evaluate: random / playback", "AnimCurveEvaluate/random", "AnimCurveEvaluate/playback"},
        {"FileSys::ReadFile 2 MiB / fread+uncompress", "ReadFile/FileSys", "ReadFile/raw"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
