#include "Demo/Capture/CaptureRun.h"

#include "Demo/Capture/FrameEncoder.h"
#include "Demo/Capture/FramePlan.h"
#include "Demo/Capture/Progress.h"
#include "Demo/Capture/StillFile.h"
#include "Demo/ShowAssembly.h"
#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Framework/DeviceCall.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

// The back buffer as drawn, before Present.
ReadBackImage ReadPicture()
{
    ReadBackImage picture;
    DEVICE_CALL(DXFramework::device->ReadRenderTarget(&DXFramework::device->BackBuffer(), &picture));
    return picture;
}

// The earliest show time whose drawn picture the frame at from depends on: from itself, or for a
// scene that draws over its last picture, the last frame before that scene began.
double PictureStart(double from, unsigned fps)
{
    SceneHandler& scenes = *SceneHandler::Instance();
    const std::vector<TimelineEntry>& entries = scenes.GetTimeline().Entries();
    const auto after = std::upper_bound(entries.begin(), entries.end(), from,
                                        [](double t, const TimelineEntry& entry) { return t < entry.time; });
    if (after == entries.begin())
        return from;
    const TimelineEntry& current = *(after - 1);
    const auto scene = scenes.Scenes().find(current.sceneName);
    if (scene == scenes.Scenes().end() || !scene->second->DrawsOverLastPicture())
        return from;
    return current.time - 1.0 / fps;
}

// Steps the show through the plan's frames from next on, drawing those from firstDrawn and handing
// the kept ones to keep. Returns the frame after the last one stepped; stops early when
// interrupted.
template <class Keep>
int64_t PlayPlan(DXFramework& framework, const FramePlan& plan, int64_t next, const std::atomic<bool>& interrupted,
                 Progress* progress, Keep keep)
{
    for (int64_t frame = std::max(next, plan.firstStepped); frame < plan.end; ++frame) {
        if (interrupted)
            return frame;
        Timer::SetFrameClock(plan.Time(frame), 1.0 / plan.fps);
        if (frame < plan.firstDrawn) {
            framework.StepFrameUndrawn();
        } else if (frame < plan.firstKept) {
            framework.StepFrame();
        } else {
            framework.StepFrame([&] { keep(ReadPicture()); });
            if (progress)
                progress->Update(frame + 1 - plan.firstKept);
        }
    }
    return plan.end;
}

std::unique_ptr<DXFramework> OpenOffscreenShow(const CaptureOptions& options, const Direct3DCreator& createDirect3D)
{
    // No window is ever shown and no sound is played: no display or sound card is needed.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return OpenShow("--nosetup --windowed --size " + std::to_string(options.width) + "x" +
                        std::to_string(options.height),
                    createDirect3D);
}

int CaptureVideo(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& out, bool terminal,
                 const Direct3DCreator& createDirect3D)
{
    AtomicFile output(options.output);
    const std::unique_ptr<DXFramework> framework = OpenOffscreenShow(options, createDirect3D);
    const FramePlan plan = PlanFrames(options.from, options.to, options.fps, PictureStart(options.from, options.fps));

    VideoSettings settings{options.width, options.height, options.fps, options.crf, options.preset, std::nullopt};
    std::unique_ptr<Soundtrack> soundtrack;
    if (options.audio) {
        soundtrack = std::make_unique<Soundtrack>(*FileSys::Instance(), plan.Time(plan.firstKept));
        settings.audioRate = soundtrack->Rate();
    }
    FrameEncoder encoder(std::make_unique<VideoFile>(output.TemporaryPath(), settings), std::move(soundtrack), options.fps);
    Progress progress(out, terminal, "capture", plan.KeptFrames());
    const int64_t stopped = PlayPlan(*framework, plan, plan.firstStepped, interrupted, &progress,
                                     [&](ReadBackImage picture) { encoder.Push(std::move(picture)); });
    encoder.Finish();
    progress.Finish(std::max<int64_t>(stopped - plan.firstKept, 0));
    output.Commit();
    return stopped < plan.end ? InterruptedExitCode : 0;
}

std::string StillName(double seconds)
{
    std::ostringstream name;
    name << "show-" << seconds << ".png";
    return name.str();
}

} // namespace

int CaptureStills(DXFramework& framework, const CaptureOptions& options, const std::atomic<bool>& interrupted,
                  std::ostream& out, bool terminal)
{
    // Each still is the frame a capture at this rate shows at that time; times on one frame share it.
    std::map<int64_t, std::vector<double>> frames;
    for (const double seconds : options.stills)
        frames[std::llround(seconds * options.fps)].push_back(seconds);
    Progress progress(out, terminal, "stills", static_cast<int64_t>(frames.size()));
    int64_t next = 0, done = 0;
    for (const auto& entry : frames) {
        const int64_t frame = entry.first;
        const std::vector<double>& times = entry.second; // a named reference: lambdas cannot capture bindings
        const double frameTime = static_cast<double>(frame) / options.fps;
        const FramePlan plan =
            PlanFrames(frameTime, frameTime + 1.0 / options.fps, options.fps, PictureStart(frameTime, options.fps));
        next = PlayPlan(framework, plan, next, interrupted, nullptr, [&](const ReadBackImage& picture) {
            for (const double seconds : times)
                SaveStill(picture, std::filesystem::path(options.directory) / StillName(seconds));
        });
        if (next < plan.end)
            return InterruptedExitCode;
        progress.Update(++done);
    }
    progress.Finish(done);
    return 0;
}

int RunCapture(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& progress,
               bool terminal, const Direct3DCreator& createDirect3D)
{
    return options.mode == CaptureOptions::Mode::Video
               ? CaptureVideo(options, interrupted, progress, terminal, createDirect3D)
               : CaptureStills(*OpenOffscreenShow(options, createDirect3D), options, interrupted, progress, terminal);
}
