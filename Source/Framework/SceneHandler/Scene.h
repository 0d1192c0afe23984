// Base of every scene: its name, its cameras and lights, its named render targets, and the slots
// through which the timeline and the framework drive it.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/RenderTargetResources/RTCubeHandler/RTCubeHandler.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
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
    // Once per drawn frame at the exact clock, after the frame constants: what follows the clock
    // (sorting for this frame's camera, animation by time).
    virtual void Update() {}
    // One fixed step of what the scene carries from frame to frame (particles, filters), at the
    // clock the scene handler sets for the step, after the lights are placed for it.
    virtual void Step() {}
    virtual void Activate() {}
    virtual void Deactivate() {}
    virtual void Load() {}
    virtual void Unload() {}
    virtual void Start() {}

    // True for a scene that draws over its last frame's picture rather than a fresh background,
    // so that a frame depends on the frames drawn before it (offline rendering that starts late
    // draws them first).
    virtual bool DrawsOverLastPicture() const { return false; }
    // For such a scene, a frame never shown that leaves what the next frame draws over close to what
    // Render leaves, for less: a jump draws the frames before its time this way.
    virtual void RenderTrails() { Render(); }
    // The same for the first of those frames, which starts the trails afresh: what earlier frames
    // left is dropped and what this frame can tell of it put in its place, so that a jump's picture
    // does not depend on what was drawn before it.
    virtual void SeedTrails() { RenderTrails(); }

    // The frame's shared effect constants, written on the Global effect before the scene's Update:
    // OLDVIEWPROJ and FOCUS_MAXZ of the camera active before this frame's camera update, TIME, then
    // the cameras and the active one's VIEW, VIEWPROJ and EYEPOS, then the lights in name order.
    // Throws FrameworkEx for a scene without a camera. Virtual only so that test scenes, which
    // have no camera, can do without.
    virtual void SetFrameConstants();
    // Places every light for the show time (SetFrameConstants does it for the frame).
    void UpdateLights(float time);

    // Holds a 2D target of that key from the pool under the name (a name used again takes the new
    // index), and an X8R8G8B8 cube target (512 x 512 faces unless told) likewise.
    void AddRenderTarget(const std::string& targetName, D3DFORMAT format, uint32_t width, uint32_t height);
    void AddCubeTarget(const std::string& targetName, uint32_t edgeLength = 512);
    // The pool entry behind a name added before; FrameworkEx for a name never added.
    RenderTargetEntry& GetRenderTarget(const std::string& targetName) const;
    CubeTargetEntry& GetCubeTarget(const std::string& targetName) const;
    // Gives every held target back to its pool; the names stay until added again.
    void ReleaseTargets();

    const std::string& GetName() const { return name; }

    // Replaces the cameras and lights with those of the scene file "Data\" + fileName; the last
    // camera of the file becomes active. When the file is refused the scene keeps what it had. In a
    // maker's run the file loads again whenever it is saved.
    void LoadSceneData(const std::string& fileName);

    using LightsByName = std::map<std::string, std::unique_ptr<Light>>;

    // From the scene file. The timeline's current scene needs a camera.
    CameraSet cameraSet;
    LightsByName lights;

    // Indices in the pools. The surface pool has no holds to give, so nothing adds to its map.
    std::map<std::string, uint32_t> renderSurfaces;
    std::map<std::string, uint32_t> renderTargets;
    std::map<std::string, uint32_t> cubeTargets;

protected:
    // A scene file saved under a running show with lights the scene cannot play without is
    // refused here (FrameworkEx naming the file and the light), so that the scene keeps the last
    // good one instead of failing at its next step. Every set of lights will do by default.
    virtual void CheckReloadedLights(const LightsByName&) const {}

private:
    std::string name;
    std::map<std::string, ReloadHub::Subscription> sceneFileReloads;
};
