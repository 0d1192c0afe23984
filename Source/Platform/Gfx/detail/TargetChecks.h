// Checks of the device's target operations: viewports, clears and StretchRect. Each answers the
// check that fails, or nothing.
#pragma once

#include <optional>

#include "Platform/Gfx/GfxTypes.h"

// Inside the render target, with a non-empty area and depths in [0, 1].
bool ViewportFits(const D3DVIEWPORT9& viewport, const D3DSURFACE_DESC& target);

// depth: the bound depth-stencil surface, or null.
std::optional<FrontCheck> CheckClear(DWORD count, const D3DRECT* rects, DWORD flags, float z,
                                     const IDirect3DSurface9* depth);

// Colour copies go from a render target to another render target, rectangles inside the
// surfaces; depth copies take whole surfaces of one format and size, outside a scene, unfiltered.
std::optional<FrontCheck> CheckStretchRect(const IDirect3DSurface9& source, const RECT* sourceRect,
                                           const IDirect3DSurface9& dest, const RECT* destRect,
                                           D3DTEXTUREFILTERTYPE filter, bool inScene);
