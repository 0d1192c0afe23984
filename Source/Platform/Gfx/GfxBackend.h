// The interface every graphics backend implements: one pure virtual function per line of
// GfxOps.inc. The front objects (IDirect3D9, IDirect3DDevice9 and the resources) check every
// argument before they call it, so a backend trusts its input.
#pragma once

#include "Platform/Gfx/GfxTypes.h"

class GfxBackend {
public:
    virtual ~GfxBackend() = default;

#define OP(result, name, params, args) virtual result name params = 0;
#include "Platform/Gfx/GfxOps.inc"
#undef OP
};
