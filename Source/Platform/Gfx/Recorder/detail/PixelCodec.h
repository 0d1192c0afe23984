// Reading and writing one pixel of a colour format as four floats, for clears and copies that
// change format or filter.
#pragma once

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Recorder/Rgba.h"

// Channels the format lacks read as 1; L8 reads as (l, l, l, 1) and A8 as (0, 0, 0, a).
Rgba DecodePixel(D3DFORMAT format, const BYTE* pixel);
// 8-bit channels are clamped to [0, 1] and rounded; L8 stores red.
void EncodePixel(D3DFORMAT format, const Rgba& colour, BYTE* pixel);

Rgba ColourFromD3DColor(D3DCOLOR colour);
