// Base of every scene: its name, its cameras and lights, and the slots through which the timeline
// and the framework drive it.
#pragma once

#include "Framework/Scene/CameraSet.h"
#include "Framework/Scene/Light.h"

#include <map>
#include <memory>
#include <string>

class Scene {
public:
    explicit Scene(std::string name) : name(std::move(name)) {}
    virtual ~Scene() = default;

    virtual void Render() {}
    virtual void Update() {}
    virtual void Activate() {}
    virtual void Deactivate() {}
    virtual void Load() {}
    virtual void Unload() {}
    virtual void Start() {}

    // The per-frame shared effect constants of the current scene, written before its Update.
    // Scenes without a camera have none to write.
    virtual void SetFrameConstants() {}

    const std::string& GetName() const { return name; }

    // Replaces the cameras and lights with those of the scene file "Data\" + fileName; the last
    // camera of the file becomes active. When the file is refused the scene keeps what it had.
    void LoadSceneData(const std::string& fileName);

    // From the scene file. The timeline's current scene needs a camera.
    CameraSet cameraSet;
    std::map<std::string, std::unique_ptr<Light>> lights;

private:
    std::string name;
};
