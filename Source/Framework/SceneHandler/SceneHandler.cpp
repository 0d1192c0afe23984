#include "Framework/SceneHandler/SceneHandler.h"

#include "Framework/Timer/Timer.h"

SceneHandler::SceneHandler() : Singleton("SceneHandler"), timeline(std::make_unique<SceneTimeline>())
{
    timeline->LoadTimeline();
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
