#include "Framework/SceneHandler/SceneHandler.h"

#include "Framework/Timer/Timer.h"

#include <algorithm>
#include <cmath>

SceneHandler::SceneHandler() : Singleton("SceneHandler"), timeline(std::make_unique<SceneTimeline>())
{
    timeline->LoadTimeline();
    timelineReload = ReloadHub::WatchIfLive({SceneTimeline::Directory + SceneTimeline::FileName}, [this] { ReloadTimeline(); });
}

void SceneHandler::ReloadTimeline()
{
    auto fresh = std::make_unique<SceneTimeline>();
    fresh->LoadTimeline();
    for (const TimelineEntry& entry : fresh->Entries())
        if (!scenes.contains(entry.sceneName))
            throw FrameworkEx("[SceneHandler::ReloadTimeline]: " + SceneTimeline::Directory + SceneTimeline::FileName +
                              " names scene \"" + entry.sceneName + "\", which was never added");
    const std::vector<TimelineEntry>& before = timeline->Entries();
    const std::vector<TimelineEntry>& after = fresh->Entries();
    size_t same = 0;
    while (same < before.size() && same < after.size() && before[same].time == after[same].time &&
           before[same].sceneName == after[same].sceneName)
        ++same;
    const bool changed = same != before.size() || same != after.size();

    const float t = static_cast<float>(Timer::GetElapsed());
    const int entry = fresh->FindEntry(t);
    if (currentScene && entry >= 0 && after[entry].sceneName == currentScene->GetName()) {
        std::string unchanged;
        fresh->CheckChange(t, unchanged); // the current scene is where the new timeline says
    }
    if (changed && ReloadHub::Instance()) {
        // Entries up to the first difference play as before; from it (or from the earlier time of the
        // two entries that differ), scenes may start elsewhere.
        double from = 0.0;
        if (same < before.size())
            from = before[same].time;
        if (same < after.size())
            from = same < before.size() ? std::min<double>(from, after[same].time) : after[same].time;
        ReloadHub::Instance()->ReportSimulationChangeFrom(same == 0 ? 0.0 : from);
    }
    timeline = std::move(fresh);
}

SceneHandler::~SceneHandler()
{
    timeline.reset();
    scenes.clear();
}

void SceneHandler::AddScene(std::unique_ptr<Scene> scene)
{
    const std::string& name = scene->GetName();
    if (scenes.contains(name))
        throw FrameworkEx("[SceneHandler::AddScene]: Scene \"" + name + "\" already added.");
    currentScene = scene.get();
    scenes.emplace(name, std::move(scene));
}

int64_t SceneHandler::StepsAt(double seconds)
{
    // A time a frame clock computes as frame / rate may fall a rounding error short of its step.
    const double steps = std::floor(seconds * StepsPerSecond + 1e-6);
    return std::isfinite(steps) ? static_cast<int64_t>(std::clamp(steps, -1e15, 1e15)) : 0;
}

void SceneHandler::SkipStepsTo(double seconds)
{
    const int64_t steps = std::max<int64_t>(StepsAt(seconds), 0);
    onTrueCourse = onTrueCourse && steps == stepsTaken;
    stepsTaken = steps;
}

void SceneHandler::PutStepsAt(int64_t steps)
{
    stepsTaken = steps;
    onTrueCourse = true;
    // Before the first step no scene has started: that step starts the first, as in a new show.
    if (steps == 0)
        timeline->ForgetReported();
    else
        SwitchAt(static_cast<float>(StepTime(steps)), false);
}

void SceneHandler::SwitchAt(float t, bool start)
{
    std::string sceneName;
    if (!timeline->CheckChange(t, sceneName))
        return;
    auto next = scenes.find(sceneName);
    if (next == scenes.end())
        throw FrameworkEx("[SceneHandler::Update]: The timeline names scene \"" + sceneName +
                          "\", which was never added");
    if (currentScene)
        currentScene->Deactivate();
    currentScene = next->second.get();
    currentScene->Activate();
    if (start)
        currentScene->Start();
}

void SceneHandler::Update()
{
    const double now = Timer::GetElapsed();
    const double delta = Timer::GetDelta();
    const int64_t due = StepsAt(now);
    if (due < stepsTaken)
        SkipStepsTo(now);
    if (mostStepsPerUpdate > 0 && due - stepsTaken > mostStepsPerUpdate)
        SkipStepsTo(StepTime(due - mostStepsPerUpdate));
    // Each step sees the clock of a 60-frames-a-second run's frame at its time.
    while (stepsTaken < due) {
        ++stepsTaken;
        const double stepTime = StepTime(stepsTaken);
        Timer::SetFrameClock(stepTime, StepSeconds);
        SwitchAt(static_cast<float>(stepTime), true);
        if (currentScene) {
            currentScene->UpdateLights(static_cast<float>(stepTime));
            currentScene->Step();
        }
    }
    Timer::SetFrameClock(now, delta);

    SwitchAt(static_cast<float>(now), true);
    if (!currentScene)
        return;
    currentScene->SetFrameConstants();
    currentScene->Update();
}

void SceneHandler::ActivateAndDeactivateAll()
{
    for (auto& [name, scene] : scenes) {
        scene->Activate();
        scene->Deactivate();
    }
}

void SceneHandler::LoadAll()
{
    for (auto& [name, scene] : scenes)
        scene->Load();
}

void SceneHandler::UnloadAll()
{
    for (auto& [name, scene] : scenes)
        scene->Unload();
}
