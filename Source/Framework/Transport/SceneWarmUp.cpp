#include "Framework/Transport/SceneWarmUp.h"

#include "Framework/DXFramework.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "Framework/SceneHandler/ShowStates.h"
#include "Framework/Timer/Timer.h"

#include <algorithm>

bool SceneWarmUp::BeforeFrame()
{
    SceneHandler& scenes = *SceneHandler::Instance();
    // The first frame is shown as soon as it can be; from the second on the last frame drew the
    // current scene.
    if (!firstFrameShown) {
        firstFrameShown = true;
        return false;
    }
    if (const Scene* current = scenes.GetCurrentScene())
        drawn.insert(current);
    if (!framework.showStates || !scenes.OnTrueCourse())
        return false;

    const std::vector<TimelineEntry>& entries = scenes.GetTimeline().Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto scene = scenes.Scenes().find(entries[i].sceneName);
        if (scene == scenes.Scenes().end() || drawn.count(scene->second.get()))
            continue;
        const double end = i + 1 < entries.size() ? entries[i + 1].time : DXFramework::ShowEndTime;
        if (end <= entries[i].time)
            continue;
        const double now = Timer::GetElapsed();
        const double there = std::min(entries[i].time + ShareIntoEntry * (end - entries[i].time), DXFramework::ShowEndTime);
        if (!framework.showStates->SeekTo(there, false))
            return false;
        Timer::SetFrameClock(there, SceneHandler::StepSeconds);
        framework.StepFrameUnshown(&Scene::Render);
        drawn.insert(scene->second.get());
        // Back where the show stands, with the frame a step after the seek's last, as when playing.
        framework.showStates->SeekTo(now, true);
        Timer::SetFrameClock(now, SceneHandler::StepSeconds);
        return true;
    }
    return false;
}

bool SceneWarmUp::Done() const
{
    SceneHandler& scenes = *SceneHandler::Instance();
    const std::vector<TimelineEntry>& entries = scenes.GetTimeline().Entries();
    return std::all_of(entries.begin(), entries.end(), [&](const TimelineEntry& entry) {
        const auto scene = scenes.Scenes().find(entry.sceneName);
        return scene == scenes.Scenes().end() || drawn.count(scene->second.get()) != 0;
    });
}
