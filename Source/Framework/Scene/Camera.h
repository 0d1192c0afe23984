// A camera exported from the modelling tool: six animation curves (position and Euler angles),
// a dolly along its own axis and a shake from sync tracks, and the matrices it gives each frame.
#pragma once

#include "Framework/Scene/AnimCurve.h"
#include "Framework/Scene/CameraLens.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>
#include <string>

class SyncTrack;

class Camera {
public:
    // Registers and loads name + ".translateX" ... ".rotateZ" (a missing curve reads 0) and fetches
    // the sync tracks "CamZOffset", "ShakeAmplitude" and "ShakeSpeed" from the framework's sync
    // device, which every camera shares. Needs the framework.
    explicit Camera(const std::string& name);
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Takes the lens and builds the projection from it.
    void SetLens(const CameraLens& lens);

    // The pose at x seconds. The dolly and the shake follow the show clock, not x.
    void update(float x);
    // The pose at x - 1/60 s, whose view-projection becomes the previous one, then at x.
    void updateWithPrevious(float x);

    const std::string name;
    CameraLens lens;
    D3DXVECTOR3 position;
    D3DXVECTOR3 rotation; // radians about X, then Y, then Z

    D3DXMATRIX rotationMatrix = IdentityMatrix();
    D3DXMATRIX projection = IdentityMatrix();
    D3DXMATRIX view = IdentityMatrix();
    D3DXMATRIX world = IdentityMatrix(); // camera to world
    D3DXMATRIX viewProjection = IdentityMatrix();
    D3DXMATRIX previousViewProjection = IdentityMatrix();

private:
    std::unique_ptr<CurveHandle> translateX, translateY, translateZ;
    std::unique_ptr<CurveHandle> rotateX, rotateY, rotateZ;
    const SyncTrack& zOffset;
    const SyncTrack& shakeAmplitude;
    const SyncTrack& shakeSpeed;
};
