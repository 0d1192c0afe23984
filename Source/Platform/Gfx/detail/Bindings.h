// Device holds on bound objects: binding takes a hold before the old one is dropped, so that
// re-binding the bound object never destroys it.
#pragma once

#include "Platform/Gfx/IDirect3DSurface9.h"
#include "Platform/Gfx/Unknown.h"

inline Unknown* HoldTargetOf(IDirect3DSurface9* surface)
{
    return surface ? surface->HeldThrough() : nullptr;
}

inline Unknown* HoldTargetOf(Unknown* object)
{
    return object;
}

template <class T>
void Rebind(T*& slot, T* object)
{
    if (Unknown* hold = HoldTargetOf(object)) {
        hold->AddDeviceHold();
    }
    T* previous = slot;
    slot = object;
    if (Unknown* hold = HoldTargetOf(previous)) {
        hold->ReleaseDeviceHold();
    }
}
