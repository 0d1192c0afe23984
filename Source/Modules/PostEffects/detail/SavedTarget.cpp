#include "Modules/PostEffects/detail/SavedTarget.h"

#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ReleaseAndClear.h"

namespace postfx::detail {

SavedTarget::SavedTarget()
{
    IDirect3DDevice9& device = *DXFramework::device;
    DEVICE_CALL(device.GetViewport(&viewport));
    DEVICE_CALL(device.GetRenderTarget(0, &surface));
}

SavedTarget::~SavedTarget()
{
    ReleaseAndClear(surface);
}

void SavedTarget::Restore()
{
    IDirect3DDevice9& device = *DXFramework::device;
    DEVICE_CALL(device.SetRenderTarget(0, surface));
    DEVICE_CALL(device.SetViewport(&viewport));
}

} // namespace postfx::detail
