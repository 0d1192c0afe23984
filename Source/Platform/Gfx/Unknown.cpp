#include "Platform/Gfx/Unknown.h"

#include "Platform/Gfx/detail/Fatal.h"

ULONG Unknown::AddRef()
{
    ++references_;
    if (owner_) {
        return owner_->AddRef();
    }
    if (references_ == 1) {
        OnCallerReturned();
    }
    return references_;
}

ULONG Unknown::Release()
{
    if (references_ == 0) {
        GfxFatal("Unknown::Release", "released more often than referenced");
    }
    --references_;
    if (owner_) {
        return owner_->Release();
    }
    if (references_ > 0) {
        return references_;
    }
    // Settle this object before letting go of its device: releasing the device may destroy it,
    // and the device's teardown drops its holds, which may destroy this object.
    Unknown* heldForCallers = OnLastCallerGone();
    if (deviceHolds_ == 0) {
        delete this;
    }
    if (heldForCallers) {
        heldForCallers->Release();
    }
    return 0;
}

void Unknown::AddDeviceHold()
{
    if (owner_) {
        GfxFatal("Unknown::AddDeviceHold", "a part is held through its owner");
    }
    ++deviceHolds_;
}

void Unknown::ReleaseDeviceHold()
{
    if (deviceHolds_ == 0) {
        GfxFatal("Unknown::ReleaseDeviceHold", "no device hold to release");
    }
    if (--deviceHolds_ == 0 && references_ == 0) {
        delete this;
    }
}
