// The interface every graphics backend implements: one pure virtual function per line of
// GfxOps.inc. The front objects (IDirect3D9, IDirect3DDevice9 and the resources) check every
// argument before they call it, so a backend trusts its input.
#pragma once

#include "Platform/Gfx/GfxTypes.h"

class GfxBackend {
public:
    virtual ~GfxBackend() = default;

    // The window extended style a device of this backend needs for its focus window: an OpenGL
    // one, or a headless one for a backend that draws nowhere.
    virtual uint32_t WindowStyle() const = 0;

#define OP(result, name, params, args) virtual result name params = 0;
#include "Platform/Gfx/GfxOps.inc"
#undef OP
};
