// Filling rectangles of stored images: what Clear does to its targets.
#pragma once

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Recorder/Rgba.h"
#include "Platform/Gfx/Recorder/detail/ImageBytes.h"

// The overlap of two rectangles; empty (right <= left or bottom <= top) when they do not meet.
RECT Intersect(const RECT& a, const RECT& b);
bool IsEmpty(const RECT& rect);

// area must lie inside the image.
void FillColour(ImageBytes& image, const RECT& area, const Rgba& colour);
// Writes depth (D3DCLEAR_ZBUFFER) and stencil (D3DCLEAR_STENCIL) as flags ask, keeping the other.
void FillDepthStencil(ImageBytes& image, const RECT& area, DWORD flags, float z, DWORD stencil);
