// The bytes of a surface or volume: rows of rowPitch bytes, slices of slicePitch bytes, both
// rounded up to the configured alignment. Throws std::bad_alloc for an image too large to hold.
#pragma once

#include <vector>

#include "Platform/Gfx/GfxTypes.h"

struct ImageBytes {
    ImageBytes(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT alignment);

    BYTE* At(UINT x, UINT y, UINT z = 0) { return bytes.data() + z * slicePitch + y * rowPitch + x * bytesPerPixel; }
    const BYTE* At(UINT x, UINT y, UINT z = 0) const
    {
        return bytes.data() + z * slicePitch + y * rowPitch + x * bytesPerPixel;
    }

    D3DFORMAT format;
    UINT width;
    UINT height;
    UINT depth;
    UINT bytesPerPixel;
    UINT rowPitch;
    UINT slicePitch;
    std::vector<BYTE> bytes;
};
