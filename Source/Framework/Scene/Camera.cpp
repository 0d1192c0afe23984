#include "Framework/Scene/Camera.h"

#include "Framework/DXFramework.h"
#include "Framework/Scene/CameraShake.h"
#include "Framework/Scene/NodeAnim.h"
#include "Framework/Scene/Placement.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "sync/device.h"

namespace {

const SyncTrack& FrameworkTrack(const std::string& name)
{
    return DXFramework::Instance()->syncDevice->trackByName(name);
}

} // namespace

Camera::Camera(const std::string& name)
    : name(name),
      translateX(registerCurve(name + ".translateX")),
      translateY(registerCurve(name + ".translateY")),
      translateZ(registerCurve(name + ".translateZ")),
      rotateX(registerCurve(name + ".rotateX")),
      rotateY(registerCurve(name + ".rotateY")),
      rotateZ(registerCurve(name + ".rotateZ")),
      zOffset(FrameworkTrack("CamZOffset")),
      shakeAmplitude(FrameworkTrack("ShakeAmplitude")),
      shakeSpeed(FrameworkTrack("ShakeSpeed"))
{
    SetLens(lens);
    // Axis by axis, translation before rotation: the order decides which missing curve the
    // once-per-run message names.
    for (CurveHandle* curve : {translateX.get(), rotateX.get(), translateY.get(), rotateY.get(), translateZ.get(),
                               rotateZ.get()})
        ensureLoaded(*curve);
}

void Camera::SetLens(const CameraLens& newLens)
{
    lens = newLens;
    D3DXMatrixPerspectiveFovRH(&projection, lens.fieldOfView, lens.aspect, lens.nearZ, lens.farZ);
}

void Camera::update(float x)
{
    const float tx = evaluate(*translateX, x), rx = evaluate(*rotateX, x);
    const float ty = evaluate(*translateY, x), ry = evaluate(*rotateY, x);
    const float tz = evaluate(*translateZ, x), rz = evaluate(*rotateZ, x);

    const double seconds = Timer::GetElapsed();
    const float row = static_cast<float>(ShowRow());
    D3DXVECTOR3 shake{0.0f, 0.0f, 0.0f};
    const float amplitude = shakeAmplitude.valueAt(row);
    const float speed = shakeSpeed.valueAt(row);
    if (amplitude > 0.0f) {
        const D3DXVECTOR3 noise = CameraShake(static_cast<float>(seconds * speed));
        shake = {amplitude * noise.x, amplitude * noise.y, amplitude * noise.z};
    }
    position = {tx + shake.x, ty + shake.y, tz + shake.z};
    rotation = {rx, ry, rz};

    rotationMatrix = EulerRotation(rotation);
    // The dolly moves the camera along its own z axis, the third row of its rotation.
    const float z = zOffset.valueAt(row);
    position.x -= z * rotationMatrix(2, 0);
    position.y -= z * rotationMatrix(2, 1);
    position.z -= z * rotationMatrix(2, 2);

    PlacementMatrices(rotationMatrix, position, view, world);
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
}

void Camera::updateWithPrevious(float x)
{
    update(x - NodeAnim::PreviousFrameOffset);
    previousViewProjection = viewProjection;
    update(x);
}
