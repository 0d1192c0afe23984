// A scene's cameras by name; the sync track "ActiveCam" picks the active one every frame.
#pragma once

#include "Framework/Scene/Camera.h"

#include <map>
#include <memory>
#include <string>

class SyncTrack;

class CameraSet {
public:
    // Stores the camera under its name (replacing one of the same name) and makes it active. The
    // first camera fetches "ActiveCam" from the framework's sync device.
    void Add(std::unique_ptr<Camera> camera);

    // Once per frame with the show seconds: the cameras in name order up to the one "ActiveCam"
    // picks (truncated toward zero) follow their curves, and that one becomes active; a pick
    // beyond the cameras updates them all and activates the first. A set without cameras cannot
    // be updated.
    void update(float x);

    // Null while the set has no cameras.
    Camera* GetActiveCamera() const { return active; }

    // The active camera's matrices and position; the set must have a camera.
    const D3DXMATRIX& GetPreviousViewProjection() const { return Active().previousViewProjection; }
    const D3DXMATRIX& GetViewProjection() const { return Active().viewProjection; }
    const D3DXMATRIX& GetWorld() const { return Active().world; }
    const D3DXMATRIX& GetView() const { return Active().view; }
    const D3DXVECTOR3& GetPosition() const { return Active().position; }

    const std::map<std::string, std::unique_ptr<Camera>>& Cameras() const { return cameras; }

private:
    Camera& Active() const;

    const SyncTrack* activeCam = nullptr;
    std::map<std::string, std::unique_ptr<Camera>> cameras;
    Camera* active = nullptr;
};
