// What the particle modules' sprites share in their looks: each shows its own 0.3 x 0.3 window of
// the particle texture, placed by two draws of the shared generator, and colour components become
// the bytes of a Direct3D colour by one rounding rule.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <array>
#include <cstdint>

namespace particles {

// Corners 0 .. 3 of a sprite.
using TextureWindow = std::array<D3DXVECTOR2, 4>;

// Two draws, u then v, each in [0, 0.7]; the corners are (u, v), (u + 0.3, v), (u + 0.3, v + 0.3),
// (u, v + 0.3).
TextureWindow DrawTextureWindow();

// A colour component as a byte: 255 at 1 or more, 0 at 0 or less (and NaN), else rounded to nearest.
uint8_t ColourByte(float component);

} // namespace particles
