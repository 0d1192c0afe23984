// Sizes of mip levels: each level halves every extent, never below 1.
#pragma once

#include <algorithm>

#include "Platform/Gfx/D3D9Base.h"

constexpr UINT MipExtent(UINT extent, UINT level)
{
    return level >= 32 ? 1u : std::max(1u, extent >> level);
}

// Levels down to 1 x 1 (x 1): what a Levels argument of 0 asks for.
constexpr UINT FullMipChainLength(UINT width, UINT height, UINT depth = 1)
{
    UINT largest = std::max({width, height, depth});
    UINT levels = 1;
    while (largest > 1) {
        largest >>= 1;
        ++levels;
    }
    return levels;
}
