// A render target's pixels read back into memory (IDirect3DDevice9::ReadRenderTarget): BGRA bytes,
// A8R8G8B8's memory layout, top row first.
#pragma once

#include <cstdint>
#include <vector>

#include "Platform/Gfx/GfxTypes.h"

struct ReadBackImage {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint8_t> bgra; // width * 4 bytes a row
};
