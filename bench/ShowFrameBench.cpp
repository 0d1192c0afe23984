// One frame of each kind of scene of the real show at 800 x 450: a part scene (second 20), the
// scroller (second 47, two text lines) and the box scene (second 88), on GL and on the Recorder.
// The Recorder does the engine's share of a frame alone (scene logic, simulation, effect
// parameters, the device front), so Recorder / GL is the engine's part of the GL frame and the
// rest is the driver's. The show's archive comes from QL_SHOW_ARCHIVE (scripts/bench points it at
// build/basefile.dat when that exists); without it the benchmarks skip.
#include <benchmark/benchmark.h>

#include "BenchDevice.h"
#include "BenchRun.h"

#include "Demo/ShowAssembly.h"
#include "Framework/DXFramework.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

constexpr double Step = 1.0 / 30.0;
// The particle fields start empty with their scene: play this long before measuring.
constexpr double LeadIn = 2.0;

// The show's archive as "basefile.dat" in a working directory of its own while the show runs.
class ShowDirectory {
public:
    ShowDirectory()
    {
        const char* archive = std::getenv("QL_SHOW_ARCHIVE");
        if (!archive || !std::filesystem::exists(archive))
            throw BenchUnavailable("QL_SHOW_ARCHIVE names no show archive (the build's basefile.dat)");
        previous = std::filesystem::current_path();
        char pattern[] = "/tmp/ql-show-bench-XXXXXX";
        if (!mkdtemp(pattern))
            throw BenchUnavailable("no working directory can be made");
        directory = pattern;
        std::filesystem::copy_file(archive, directory / "basefile.dat");
        std::filesystem::current_path(directory);
    }
    ~ShowDirectory()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
    }
    ShowDirectory(const ShowDirectory&) = delete;
    ShowDirectory& operator=(const ShowDirectory&) = delete;

private:
    std::filesystem::path previous, directory;
};

std::unique_ptr<DXFramework> OpenShowOn(BenchBackend backend)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (backend == BenchBackend::GL)
        return OpenShow("--nosetup --windowed --size 800x450", GLDirect3DCreator());
    auto recorder = std::make_shared<Recorder>();
    recorder->Config().keepCalls = false;
    return OpenShow("--nosetup --windowed --size 800x450", RecorderDirect3DCreator(recorder));
}

// A frame as the main loop makes it, at show time t after a step of Step.
void PlayFrame(DXFramework& framework, double t)
{
    Timer::elapsed = t;
    Timer::delta = Step;
    framework.StepFrame();
}

void ShowFrame(benchmark::State& state, BenchBackend backend, double seconds)
{
    SkipOnFailure(state, [&] {
        const ShowDirectory directory;
        const std::unique_ptr<DXFramework> framework = OpenShowOn(backend);
        double t = seconds - LeadIn;
        for (; t < seconds; t += Step)
            PlayFrame(*framework, t);
        for (auto _ : state) {
            PlayFrame(*framework, t);
            t += Step;
        }
    });
}

void Register(const char* scene, double seconds)
{
    benchmark::RegisterBenchmark((std::string("ShowFrame/GL/") + scene).c_str(),
                                 [seconds](benchmark::State& state) { ShowFrame(state, BenchBackend::GL, seconds); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RegisterBenchmark((std::string("ShowFrame/Recorder/") + scene).c_str(),
                                 [seconds](benchmark::State& state) { ShowFrame(state, BenchBackend::Recorder, seconds); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(60);
}

const bool registered = [] {
    Register("part", 20.0);
    Register("scroller", 47.0);
    Register("box", 88.0);
    return true;
}();

} // namespace
