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
        {"GL frame loop fps, backend / raw GL", "GLFrameLoop/raw/0/real_time", "GLFrameLoop/backend/0/real_time"},
        {"GL frame loop fps 4x, backend / raw GL", "GLFrameLoop/raw/4/real_time", "GLFrameLoop/backend/4/real_time"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
