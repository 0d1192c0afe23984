#include "Modules/ParticleDance/detail/PaletteColour.h"

#include "Modules/Common/SpriteLook.h"
#include "Platform/D3DX/D3DXMath.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dance::detail {

namespace {

constexpr DWORD Alpha = 0xCC;
// The colour runs white -> blue -> black along a draw mapped to [0, 2].
constexpr std::array<D3DXVECTOR3, 3> Palette = {{{1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f}}};

} // namespace

D3DCOLOR PaletteColour(int r)
{
    using particles::ColourByte;
    const float x = static_cast<float>(r) * 6.103702e-5f;
    // The top draw, 32767, maps to exactly 2; it takes the far end of the last blend (black)
    // rather than a blend towards a colour past the palette's end.
    const int k = std::min(static_cast<int>(std::floor(x)), static_cast<int>(Palette.size()) - 2);
    const float f = x - static_cast<float>(k);
    const D3DXVECTOR3& from = Palette[static_cast<size_t>(k)];
    const D3DXVECTOR3& to = Palette[static_cast<size_t>(k) + 1];
    return D3DCOLOR_ARGB(Alpha, ColourByte(from.x * (1.0f - f) + to.x * f), ColourByte(from.y * (1.0f - f) + to.y * f),
                         ColourByte(from.z * (1.0f - f) + to.z * f));
}

} // namespace dance::detail
