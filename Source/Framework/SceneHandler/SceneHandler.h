// Owns every scene and, from the show time and the timeline, decides which one is current.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "Framework/Singleton.h"

#include <map>
#include <memory>
#include <string>

class SceneHandler : public Singleton<SceneHandler> {
public:
    // Reads the timeline from the archive.
    SceneHandler();
    ~SceneHandler();

    // Registers the scene and makes it current; a name already registered is refused.
    void AddScene(std::unique_ptr<Scene> scene);

    // Once per drawn frame: switches scenes by the timeline, writes the frame constants and
    // updates the current scene.
    void Update();

    // Device lifecycle, forwarded to every scene in name order.
    void ActivateAndDeactivateAll();
    void LoadAll();
    void UnloadAll();

    // Reads the timeline again. A timeline that cannot be read, or that names a scene never added,
    // raises FrameworkEx and the old one stays. The current scene goes on undisturbed when the new
    // timeline keeps it at this time; otherwise the next Update switches.
    void ReloadTimeline();

    Scene* GetCurrentScene() const { return currentScene; }
    SceneTimeline& GetTimeline() { return *timeline; }
    const std::map<std::string, std::unique_ptr<Scene>>& Scenes() const { return scenes; }

private:
    std::map<std::string, std::unique_ptr<Scene>> scenes;
    Scene* currentScene = nullptr;
    std::unique_ptr<SceneTimeline> timeline;
    ReloadHub::Subscription timelineReload;
};
