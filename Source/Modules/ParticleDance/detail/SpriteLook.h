// How each sprite of the dance looks, drawn from the shared generator when the module loads: its
// own 0.3 x 0.3 window of the particle texture and a colour between white, blue and black, at
// alpha 204.
#pragma once

#include "Platform/D3DX/D3DXMath.h"
#include "Platform/Gfx/D3D9Color.h"

#include <array>
#include <cstdint>

namespace dance::detail {

struct SpriteLook {
    std::array<D3DXVECTOR2, 4> texCoords; // corners 0 .. 3 of the sprite
    D3DCOLOR colour;                      // on all four corners
};

// Three draws, in this order: u, v, then the colour.
SpriteLook DrawSpriteLook();

// A colour component as a byte: 255 at 1 or more, 0 at 0 or less, else rounded to nearest.
uint8_t ColourByte(float component);

} // namespace dance::detail
