#include "Framework/Scene/CameraSet.h"

#include "Framework/DXFramework.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "sync/device.h"

void CameraSet::Add(std::unique_ptr<Camera> camera)
{
    // Fetched with the first camera rather than at construction: every scene owns a set, and
    // scenes without cameras need no track.
    if (!activeCam)
        activeCam = &DXFramework::Instance()->syncDevice->trackByName("ActiveCam");
    std::unique_ptr<Camera>& slot = cameras[camera->name];
    slot = std::move(camera);
    active = slot.get();
}

void CameraSet::update(float x)
{
    if (cameras.empty())
        throw FrameworkEx("[CameraSet::update]: the scene has no cameras");
    const float pick = activeCam->valueAt(static_cast<float>(ShowRow()));
    // Truncation toward zero: -0.5 picks the first camera. A pick outside the cameras (or NaN)
    // converts to no index at all, since converting a float beyond int's range is undefined.
    const bool inRange = pick > -1.0f && pick < static_cast<float>(cameras.size());
    const size_t wanted = inRange ? static_cast<size_t>(static_cast<int>(pick)) : cameras.size();

    size_t index = 0;
    for (auto& entry : cameras) {
        entry.second->updateWithPrevious(x);
        if (index == wanted) {
            active = entry.second.get();
            return;
        }
        ++index;
    }
    active = cameras.begin()->second.get();
}

Camera& CameraSet::Active() const
{
    if (!active)
        throw FrameworkEx("[CameraSet]: the scene has no cameras");
    return *active;
}
