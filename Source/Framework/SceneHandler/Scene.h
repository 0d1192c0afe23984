// Base of every scene: its name and the slots through which the timeline and the framework drive it.
#pragma once

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

private:
    std::string name;
};
