// One frame of each kind of scene of the real show at 800 x 450: a part scene (second 20), a part
// scene blooming in a "WhiteFade" flash (second 23), the third part whitening into
// the scroller, the dearest of the part scenes (second 35), the scroller (second 47, two text lines) and
// the box scene (second 88), on GL and on the Recorder. The Recorder does the engine's share of a
// frame alone (scene logic, simulation, effect parameters, the device front), so Recorder / GL is
// the engine's part of the GL frame and the rest is the driver's. ".../against-before" draws the
// same frame with the post-processing passes' earlier code too, for their ratio. The show's
// archive comes from QL_SHOW_ARCHIVE (scripts/bench points it at an archive a build made); without
// it the benchmarks skip. ".../scroller-against-part" draws the scroller's frame and the part
// scene's in turn, for a ratio that a busy machine skews less.
//
// Capture: the scroller's frames at 800 x 450 and 30 a second rendered and read back, with and
// without the encoding thread behind them; their ratio is what encoding adds to a capture.
#include <benchmark/benchmark.h>

#include "BenchDevice.h"
#include "BenchRun.h"
#include "Support/EffectsBefore.h"

#include "Demo/Capture/FrameEncoder.h"
#include "Demo/ShowAssembly.h"
#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Transport/Overlay.h"
#include "Framework/DXFramework.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/GL/GLReadBack.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

constexpr double Step = 1.0 / 30.0;
// The particle fields start empty with their scene: play this long before measuring.
constexpr double LeadIn = 2.0;

std::string ShowArchive()
{
    const char* archive = std::getenv("QL_SHOW_ARCHIVE");
    if (!archive || !std::filesystem::exists(archive))
        throw BenchUnavailable("QL_SHOW_ARCHIVE names no show archive (the build's basefile.dat)");
    return archive;
}

// The show's archive (or another) as "basefile.dat" in a working directory of its own while the
// show runs.
class ShowDirectory {
public:
    ShowDirectory() : ShowDirectory(ReadWholeFile(ShowArchive())) {}
    explicit ShowDirectory(const std::vector<unsigned char>& archive)
    {
        previous = std::filesystem::current_path();
        char pattern[] = "/tmp/ql-show-bench-XXXXXX";
        if (!mkdtemp(pattern))
            throw BenchUnavailable("no working directory can be made");
        directory = pattern;
        std::filesystem::current_path(directory);
        WriteWholeFile("basefile.dat", archive);
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
    Timer::SetFrameClock(t, Step);
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

// Blocks of frames drawn again at the clock as it stands: Settle frames, which let the driver make
// its shader variants, then Measured frames, timed in real time and in the CPU time of the whole
// process (the driver renders on threads of its own).
constexpr int Settle = 2, Measured = 3;

struct FrameCost {
    double wall = 0.0, cpu = 0.0;
};

FrameCost TimeFrameBlock(DXFramework& framework)
{
    for (int i = 0; i < Settle; ++i)
        framework.RenderFrame();
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < Measured; ++i)
        framework.RenderFrame();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
            double(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

// The frame at show time t drawn again and again, alternately with the show's effects and with
// the earlier code of the passes made cheaper (Support/EffectsBefore.h for the effects, the blurs'
// rounds at full size for the module's draws), in blocks (TimeFrameBlock). The scene's state
// stays that of time t, so both draw exactly the same frames. The time is the show's effects'
// frame; the counters give the earlier effects' frame and the ratios, of real time and of the CPU
// time of the whole process (the driver renders on threads of its own).
void ShowFrameAgainstBefore(benchmark::State& state, double seconds)
{
    SkipOnFailure(state, [&] {
        const ShowDirectory directory(ShowArchiveWithEffectsBefore(ShowArchive(), EarlierPlace::Beside));
        const std::unique_ptr<DXFramework> framework = OpenShowOn(BenchBackend::GL);
        for (double t = seconds - LeadIn; t <= seconds; t += Step)
            PlayFrame(*framework, t);
        const auto load = [&](bool earlier) {
            for (const EarlierEffect& effect : EarlierEffects())
                if (DXEffect* loaded = DXEffectHandler::Instance()->GetEffect(effect.name))
                    loaded->LoadEffect(earlier ? effect.earlierFile : effect.file, framework->effectPool);
            UseEarlierDraws(earlier);
        };
        struct Cost {
            double wall = 0.0, cpu = 0.0;
            int frames = 0;
        } costs[2];
        for (auto _ : state) {
            const double wallBefore = costs[0].wall;
            for (int which : {0, 1}) {
                load(which == 1);
                const FrameCost cost = TimeFrameBlock(*framework);
                costs[which].cpu += cost.cpu;
                costs[which].wall += cost.wall;
                costs[which].frames += Measured;
            }
            state.SetIterationTime((costs[0].wall - wallBefore) / Measured);
        }
        load(false);
        const auto perFrame = [](double total, int frames) { return frames ? total / frames : 0.0; };
        state.counters["before_ms"] = perFrame(costs[1].wall, costs[1].frames) * 1e3;
        state.counters["cpu_ms"] = perFrame(costs[0].cpu, costs[0].frames) * 1e3;
        state.counters["cpu_before_ms"] = perFrame(costs[1].cpu, costs[1].frames) * 1e3;
        state.counters["new/before"] = costs[1].wall > 0.0 ? costs[0].wall / costs[1].wall : 0.0;
        state.counters["cpu_new/before"] = costs[1].cpu > 0.0 ? costs[0].cpu / costs[1].cpu : 0.0;
    });
}

// Frames from second 40 at 30 a second, each read back and, when encoding, handed to the encoder.
void CaptureFrames(benchmark::State& state, bool encode)
{
    SkipOnFailure(state, [&] {
        constexpr unsigned Fps = 30;
        const ShowDirectory directory;
        const std::unique_ptr<DXFramework> framework = OpenShowOn(BenchBackend::GL);
        int64_t frame = 0;
        for (; frame < 40 * Fps; ++frame) {
            Timer::SetFrameClock(double(frame) / Fps, 1.0 / Fps);
            framework->StepFrameUndrawn();
        }
        std::unique_ptr<FrameEncoder> encoder;
        if (encode) {
            auto soundtrack = std::make_unique<Soundtrack>(*FileSys::Instance(), 40.0);
            const VideoSettings settings{800, 450, Fps, 18, "medium", soundtrack->Rate()};
            encoder = std::make_unique<FrameEncoder>(std::make_unique<VideoFile>("capture.mp4", settings),
                                                     std::move(soundtrack), Fps);
        }
        for (auto _ : state) {
            Timer::SetFrameClock(double(frame++) / Fps, 1.0 / Fps);
            framework->StepFrame([&] {
                GLImage picture = GLReadBackBuffer(*DXFramework::device);
                if (encoder)
                    encoder->Push(std::move(picture));
                else
                    benchmark::DoNotOptimize(picture.bgra.data());
            });
        }
        if (encoder)
            encoder->Finish();
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
    benchmark::RegisterBenchmark((std::string("ShowFrame/GL/") + scene + "/against-before").c_str(),
                                 [seconds](benchmark::State& state) { ShowFrameAgainstBefore(state, seconds); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(12);
}

#ifdef QL_PLAYER
// Jumps as the transport makes them on GL at 800x450: each iteration is ten jumps spread over the
// show, in an order that goes back and forth, each to its drawn frame, the show's states prepared
// beforehand by the player's preparing process, as the player prepares them. The first round
// jumps into scenes not yet drawn in the process, for which Mesa's rasteriser builds its shader
// variants at their first draw (Jump/player/keys has the same in the player itself). The figures
// are per jump, with its drawn frame: ms_per_jump over the later rounds, first_round_ms over the
// first.
void Jumps(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const ShowDirectory directory;
        const std::unique_ptr<DXFramework> framework = OpenShowOn(BenchBackend::GL);
        PreparedShowStates states(*framework, QL_PLAYER, "");
        states.Loaded();
        // The states come in order: one in the show's last second means all came.
        const int64_t end = SceneHandler::StepsAt(DXFramework::ShowEndTime);
        if (!states.Cache().WaitForState(end, SceneHandler::StepsPerSecond, std::chrono::minutes(5)))
            throw BenchUnavailable("the player's preparing process sent no states");
        const double times[] = {70.3, 12.1, 98.7, 31.4, 125.2, 55.6, 5.9, 88.8, 40.5, 113.3};
        double firstRound = 0.0, laterRounds = 0.0;
        for (auto _ : state) {
            const auto started = std::chrono::steady_clock::now();
            for (const double t : times) {
                states.SeekTo(t, true);
                PlayFrame(*framework, t);
            }
            const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - started;
            (firstRound == 0.0 ? firstRound : laterRounds) += spent.count();
        }
        const double jumps = double(std::size(times));
        state.counters["first_round_ms"] = firstRound / jumps;
        state.counters["ms_per_jump"] = laterRounds / (double(state.iterations() - 1) * jumps);
    });
}
#endif

// The scroller's frame against the part scene's, drawn in turn in one show so that a busy machine
// slows both alike: each block of Measured frames follows a jump to its time (the states prepared
// beforehand, as Jumps has them) and Settle frames. The time is the scroller's frame; the counters
// give the part scene's and the ratios, of real time and of the process's CPU time.
void ScrollerAgainstPart(benchmark::State& state)
{
    constexpr double PartTime = 20.0, ScrollerTime = 47.0;
    SkipOnFailure(state, [&] {
        const ShowDirectory directory;
        std::vector<ShowState> prepared;
        {
            const std::unique_ptr<DXFramework> framework = OpenShowOn(BenchBackend::GL);
            PrepareStates(*framework, [&](const ShowState& shown) { prepared.push_back(shown); });
        }
        const std::unique_ptr<DXFramework> framework = OpenShowOn(BenchBackend::GL);
        PreparedShowStates states(*framework, "", "");
        states.Loaded();
        for (ShowState& shown : prepared)
            states.Cache().Store(std::move(shown));
        double wall[2] = {}, cpu[2] = {};
        for (auto _ : state) {
            double scrollerWall = 0.0;
            for (const int which : {0, 1}) {
                const double t = which == 0 ? PartTime : ScrollerTime;
                states.SeekTo(t, true);
                PlayFrame(*framework, t);
                const FrameCost cost = TimeFrameBlock(*framework);
                cpu[which] += cost.cpu;
                wall[which] += cost.wall;
                if (which == 1)
                    scrollerWall = cost.wall;
            }
            state.SetIterationTime(scrollerWall / Measured);
        }
        const double frames = double(state.iterations()) * Measured;
        state.counters["part_ms"] = wall[0] / frames * 1e3;
        state.counters["cpu_part_ms"] = cpu[0] / frames * 1e3;
        state.counters["cpu_ms"] = cpu[1] / frames * 1e3;
        state.counters["scroller/part"] = wall[0] > 0.0 ? wall[1] / wall[0] : 0.0;
        state.counters["cpu_scroller/part"] = cpu[0] > 0.0 ? cpu[1] / cpu[0] : 0.0;
    });
}

// The maker's overlay over a part scene's frame on GL at 800x450: each iteration draws the frame
// once without it and once with it drawn OverlayRepeats times, so that the overlay's share stands
// out of the frame's own noise. The figure is one overlay's cost.
constexpr int OverlayRepeats = 20;

void OverlayCost(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const ShowDirectory directory;
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        const std::unique_ptr<DXFramework> framework =
            OpenShow("--nosetup --windowed --size 800x450", GLDirect3DCreator());
        // The player adds the overlay in its maker's mode; an opened show has none of its own.
        ModuleHandler::Instance()->AddModule(std::make_unique<Overlay>());
        Overlay& overlay = ModuleHandler::Instance()->GetModuleAs<Overlay>(Overlay::ModuleName);
        overlay.Load();
        const std::vector<std::string> lines = {"20.000 s   bar 11.3   row 341.33", "TindrevikPart1",
                                                "frame 24.1 ms   41.5 fps", "paused   loop 15.000 - 22.500 s"};
        const DisplaySettings& settings = framework->settings;
        double t = 20.0 - LeadIn;
        for (; t < 20.0; t += Step)
            PlayFrame(*framework, t);
        double with = 0.0, without = 0.0;
        for (auto _ : state) {
            for (const int repeats : {0, OverlayRepeats}) {
                Timer::SetFrameClock(t, Step);
                const auto started = std::chrono::steady_clock::now();
                framework->StepFrame([&] {
                    if (!repeats)
                        return;
                    DXFramework::device->BeginScene();
                    DXFramework::device->SetRenderTarget(0, framework->backBuffer);
                    for (int i = 0; i < repeats; ++i)
                        overlay.DrawLines(lines, settings.renderWidth, settings.renderHeight);
                    DXFramework::device->EndScene();
                });
                const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - started;
                (repeats ? with : without) += spent.count();
            }
            t += Step;
        }
        const double frames = double(state.iterations());
        state.counters["frame_ms"] = without / frames;
        state.counters["overlay_ms"] = (with - without) / (frames * OverlayRepeats);
    });
}

const bool registered = [] {
#ifdef QL_PLAYER
    benchmark::RegisterBenchmark("Jump/GL/ten-times", Jumps)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif
    benchmark::RegisterBenchmark("ShowFrame/GL/scroller-against-part", ScrollerAgainstPart)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(12);
    benchmark::RegisterBenchmark("Overlay/GL/part", OverlayCost)->Unit(benchmark::kMillisecond)->Iterations(20);
    Register("part", 20.0);
    Register("part-bloom", 23.0);
    Register("part3", 35.0);
    Register("scroller", 47.0);
    Register("box", 88.0);
    benchmark::RegisterBenchmark("Capture/render", [](benchmark::State& state) { CaptureFrames(state, false); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(90);
    benchmark::RegisterBenchmark("Capture/encode", [](benchmark::State& state) { CaptureFrames(state, true); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(90);
    return true;
}();

} // namespace
