// ql_bench: every benchmark of bench/, then the ratios between related ones.
#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Mesa's shader cache would hand the effect creation benchmarks programs linked by an earlier
    // iteration (or run); without it every creation compiles as a first start-up does. Set
    // MESA_SHADER_CACHE_DISABLE=false to measure with the cache. Read when the GL driver loads.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Colour only on a terminal, as the library's own reporter does by default.
    using benchmark::ConsoleReporter;
    const auto options = isatty(STDOUT_FILENO) ? ConsoleReporter::OO_Color : ConsoleReporter::OO_None;
    RatioReporter reporter(options, {
        {"noise bake 128^3: 1 thread / 2 threads", "NoiseVolumeBake/threads:1/repeats:3/real_time",
         "NoiseVolumeBake/threads:2/repeats:3/real_time"},
        {"vortex field 61^3: 1 thread / 2 threads", "BuildVortexField/threads:1/repeats:3/real_time",
         "BuildVortexField/threads:2/repeats:3/real_time"},
        {"SyncTrack::valueAt: random / playback", "SyncTrackValueAt/random", "SyncTrackValueAt/playback"},
        {"AnimCurve evaluate: random / playback", "AnimCurveEvaluate/random", "AnimCurveEvaluate/playback"},
        {"FileSys::ReadFile 2 MiB / fread+uncompress", "ReadFile/FileSys", "ReadFile/raw"},
        {"GL frame loop fps, backend / raw GL", "GLFrameLoop/raw/0/real_time", "GLFrameLoop/backend/0/real_time"},
        {"GL frame loop fps 4x, backend / raw GL", "GLFrameLoop/raw/4/real_time", "GLFrameLoop/backend/4/real_time"},
        {"float4 set, by semantic / SetVector, Recorder", "EffectSetVec4/engine/Recorder/repeats:3",
         "EffectSetVec4/raw/Recorder/repeats:3"},
        {"float4 set, by semantic / SetVector, GL", "EffectSetVec4/engine/GL/repeats:3",
         "EffectSetVec4/raw/GL/repeats:3"},
        {"float4x4 set, by semantic / SetMatrix, Recorder", "EffectSetMatrix/engine/Recorder/repeats:3",
         "EffectSetMatrix/raw/Recorder/repeats:3"},
        {"float4x4 set, by semantic / SetMatrix, GL", "EffectSetMatrix/engine/GL/repeats:3",
         "EffectSetMatrix/raw/GL/repeats:3"},
        {"DrawObject / by hand, Recorder", "EffectDrawObject/engine/Recorder/repeats:3",
         "EffectDrawObject/raw/Recorder/repeats:3"},
        {"DrawObject / by hand, GL", "EffectDrawObject/engine/GL/repeats:3",
         "EffectDrawObject/raw/GL/repeats:3"},
        {"DrawObject, GL / Recorder", "EffectDrawObject/engine/GL/repeats:3",
         "EffectDrawObject/engine/Recorder/repeats:3"},
        {"500-line effect creation, GL / Recorder", "EffectCreate/500lines/GL/repeats:3",
         "EffectCreate/500lines/Recorder/repeats:3"},
        {"500-line effect release, GL / Recorder", "EffectRelease/500lines/GL/repeats:3",
         "EffectRelease/500lines/Recorder/repeats:3"},
        {"ParticleDance frame / all-pairs neighbour loop", "ParticleDance/UpdateAndSort/repeats:3",
         "ParticleDance/AllPairs/repeats:3"},
        {"ParticleField sort, strict order / qsort", "ParticleField/Sort/repeats:3",
         "ParticleField/SortByQsort/repeats:3"},
        {"scroller frame / part-scene frame, GL", "ShowFrame/GL/scroller/iterations:20",
         "ShowFrame/GL/part/iterations:20"},
        {"box frame / part-scene frame, GL", "ShowFrame/GL/box/iterations:20", "ShowFrame/GL/part/iterations:20"},
        {"part-scene frame, engine share (Recorder / GL)", "ShowFrame/Recorder/part/iterations:60",
         "ShowFrame/GL/part/iterations:20"},
        {"scroller frame, engine share (Recorder / GL)", "ShowFrame/Recorder/scroller/iterations:60",
         "ShowFrame/GL/scroller/iterations:20"},
        {"box frame, engine share (Recorder / GL)", "ShowFrame/Recorder/box/iterations:60",
         "ShowFrame/GL/box/iterations:20"},
        {"capture at 800x450, encoded / rendered only", "Capture/encode/iterations:90",
         "Capture/render/iterations:90"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
