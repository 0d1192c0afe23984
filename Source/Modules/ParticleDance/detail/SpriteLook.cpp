#include "Modules/ParticleDance/detail/SpriteLook.h"

#include "Framework/Noise/CrtRand.h"

#include <algorithm>
#include <cmath>

namespace dance::detail {

namespace {

constexpr float WindowSize = 0.3f;
constexpr DWORD Alpha = 0xCC;
// The colour runs white -> blue -> black along a draw mapped to [0, 2].
constexpr std::array<D3DXVECTOR3, 3> Palette = {{{1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f}}};

float WindowCorner(int r)
{
    return static_cast<float>(r) * 2.1362956e-5f; // [0, 0.7]: the window stays inside the texture
}

D3DCOLOR PaletteColour(int r)
{
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

} // namespace

uint8_t ColourByte(float component)
{
    if (component >= 1.0f)
        return 255;
    if (!(component > 0.0f))
        return 0;
    return static_cast<uint8_t>(component * 255.0f + 0.5f);
}

SpriteLook DrawSpriteLook()
{
    const float u = WindowCorner(CrtRand::rand());
    const float v = WindowCorner(CrtRand::rand());
    const D3DCOLOR colour = PaletteColour(CrtRand::rand());
    return {{{{u, v}, {u + WindowSize, v}, {u + WindowSize, v + WindowSize}, {u, v + WindowSize}}}, colour};
}

} // namespace dance::detail
