#include "Modules/Common/SpriteLook.h"

#include "Framework/Noise/CrtRand.h"
#include "Platform/ClampToInteger.h"

namespace particles {

namespace {

constexpr float WindowSize = 0.3f;

float WindowCorner(int r)
{
    return static_cast<float>(r) * 2.1362956e-5f; // [0, 0.7]: the window stays inside the texture
}

} // namespace

TextureWindow DrawTextureWindow()
{
    const float u = WindowCorner(CrtRand::rand());
    const float v = WindowCorner(CrtRand::rand());
    return {{{u, v}, {u + WindowSize, v}, {u + WindowSize, v + WindowSize}, {u, v + WindowSize}}};
}

uint8_t ColourByte(float component)
{
    return ClampToInteger(component * 255.0f + 0.5f, uint8_t(0), uint8_t(255));
}

} // namespace particles
