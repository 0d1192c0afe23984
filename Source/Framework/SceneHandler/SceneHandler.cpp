#include "Framework/SceneHandler/SceneHandler.h"

#include "Framework/Timer/Timer.h"

#include <algorithm>

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

void SceneHandler::Update()
{
    const float t = static_cast<float>(Timer::GetElapsed());
    std::string sceneName;
    if (timeline->CheckChange(t, sceneName)) {
        auto next = scenes.find(sceneName);
        if (next == scenes.end())
            throw FrameworkEx("[SceneHandler::Update]: The timeline names scene \"" + sceneName +
                              "\", which was never added");
        if (currentScene)
            currentScene->Deactivate();
        currentScene = next->second.get();
        currentScene->Activate();
        currentScene->Start();
    }
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
