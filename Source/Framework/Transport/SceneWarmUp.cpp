#include "Framework/Transport/SceneWarmUp.h"

#include "Framework/DXFramework.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "Framework/SceneHandler/ShowStates.h"
#include "Framework/Timer/Timer.h"

#include <algorithm>

void SceneWarmUp::Plan()
{
    SceneHandler& scenes = *SceneHandler::Instance();
    const std::vector<TimelineEntry>& entries = scenes.GetTimeline().Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto scene = scenes.Scenes().find(entries[i].sceneName);
        const double start = entries[i].time;
        const double end = std::min(i + 1 < entries.size() ? entries[i + 1].time : DXFramework::ShowEndTime,
                                    DXFramework::ShowEndTime);
        if (scene == scenes.Scenes().end() || end <= start)
            continue;
        for (const double seconds : {start + std::min(AfterStart, 0.5 * (end - start)), start + ShareIntoEntry * (end - start)})
            times.push_back({scene->second.get(), seconds});
    }
    planned = true;
}

bool SceneWarmUp::BeforeFrame()
{
    SceneHandler& scenes = *SceneHandler::Instance();
    // The first frame is shown as soon as it can be; from the second on the last frame showed the
    // current scene.
    if (!firstFrameShown) {
        firstFrameShown = true;
        return false;
    }
    if (const Scene* current = scenes.GetCurrentScene())
        shown.insert(current);
    if (!planned)
        Plan();
    while (next < times.size() && shown.count(times[next].scene))
        ++next;
    if (next >= times.size() || !framework.showStates || !scenes.OnTrueCourse())
        return false;

    const double now = Timer::GetElapsed();
    const double there = times[next].seconds;
    if (!framework.showStates->SeekTo(there, false))
        return false;
    Timer::SetFrameClock(there, SceneHandler::StepSeconds);
    framework.StepFrameUnshown(&Scene::Render);
    ++next;
    // Back where the show stands, with the frame a step after the seek's last, as when playing.
    framework.showStates->SeekTo(now, true);
    Timer::SetFrameClock(now, SceneHandler::StepSeconds);
    return true;
}
