#include "Platform/Gfx/Recorder/detail/PixelCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Platform/Gfx/Recorder/detail/Half.h"

namespace {

float Unorm(BYTE value)
{
    return value / 255.0f;
}

BYTE ToUnorm(float value)
{
    return static_cast<BYTE>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

Rgba DecodeHalves(const BYTE* pixel, int channels)
{
    Rgba colour{1.0f, 1.0f, 1.0f, 1.0f};
    for (int i = 0; i < channels; ++i) {
        uint16_t half;
        std::memcpy(&half, pixel + 2 * i, 2);
        colour[i] = HalfToFloat(half);
    }
    return colour;
}

void EncodeHalves(const Rgba& colour, int channels, BYTE* pixel)
{
    for (int i = 0; i < channels; ++i) {
        const uint16_t half = FloatToHalf(colour[i]);
        std::memcpy(pixel + 2 * i, &half, 2);
    }
}

Rgba DecodeFloats(const BYTE* pixel, int channels)
{
    Rgba colour{1.0f, 1.0f, 1.0f, 1.0f};
    std::memcpy(colour.data(), pixel, 4 * channels);
    return colour;
}

void EncodeFloats(const Rgba& colour, int channels, BYTE* pixel)
{
    std::memcpy(pixel, colour.data(), 4 * channels);
}

} // namespace

Rgba DecodePixel(D3DFORMAT format, const BYTE* pixel)
{
    switch (format) {
    case D3DFMT_A8R8G8B8: return {Unorm(pixel[2]), Unorm(pixel[1]), Unorm(pixel[0]), Unorm(pixel[3])};
    case D3DFMT_X8R8G8B8: return {Unorm(pixel[2]), Unorm(pixel[1]), Unorm(pixel[0]), 1.0f};
    case D3DFMT_A8B8G8R8: return {Unorm(pixel[0]), Unorm(pixel[1]), Unorm(pixel[2]), Unorm(pixel[3])};
    case D3DFMT_X8B8G8R8: return {Unorm(pixel[0]), Unorm(pixel[1]), Unorm(pixel[2]), 1.0f};
    case D3DFMT_L8: return {Unorm(pixel[0]), Unorm(pixel[0]), Unorm(pixel[0]), 1.0f};
    case D3DFMT_A8: return {0.0f, 0.0f, 0.0f, Unorm(pixel[0])};
    case D3DFMT_R16F: return DecodeHalves(pixel, 1);
    case D3DFMT_G16R16F: return DecodeHalves(pixel, 2);
    case D3DFMT_A16B16G16R16F: return DecodeHalves(pixel, 4);
    case D3DFMT_R32F: return DecodeFloats(pixel, 1);
    case D3DFMT_G32R32F: return DecodeFloats(pixel, 2);
    case D3DFMT_A32B32G32R32F: return DecodeFloats(pixel, 4);
    default: return {0.0f, 0.0f, 0.0f, 0.0f};
    }
}

void EncodePixel(D3DFORMAT format, const Rgba& colour, BYTE* pixel)
{
    const auto [r, g, b, a] = colour;
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        pixel[0] = ToUnorm(b);
        pixel[1] = ToUnorm(g);
        pixel[2] = ToUnorm(r);
        pixel[3] = format == D3DFMT_A8R8G8B8 ? ToUnorm(a) : 0xFF;
        break;
    case D3DFMT_A8B8G8R8:
    case D3DFMT_X8B8G8R8:
        pixel[0] = ToUnorm(r);
        pixel[1] = ToUnorm(g);
        pixel[2] = ToUnorm(b);
        pixel[3] = format == D3DFMT_A8B8G8R8 ? ToUnorm(a) : 0xFF;
        break;
    case D3DFMT_L8: pixel[0] = ToUnorm(r); break;
    case D3DFMT_A8: pixel[0] = ToUnorm(a); break;
    case D3DFMT_R16F: EncodeHalves(colour, 1, pixel); break;
    case D3DFMT_G16R16F: EncodeHalves(colour, 2, pixel); break;
    case D3DFMT_A16B16G16R16F: EncodeHalves(colour, 4, pixel); break;
    case D3DFMT_R32F: EncodeFloats(colour, 1, pixel); break;
    case D3DFMT_G32R32F: EncodeFloats(colour, 2, pixel); break;
    case D3DFMT_A32B32G32R32F: EncodeFloats(colour, 4, pixel); break;
    default: break;
    }
}

Rgba ColourFromD3DColor(D3DCOLOR colour)
{
    return {Unorm(static_cast<BYTE>(D3DCOLOR_R(colour))), Unorm(static_cast<BYTE>(D3DCOLOR_G(colour))),
            Unorm(static_cast<BYTE>(D3DCOLOR_B(colour))), Unorm(static_cast<BYTE>(D3DCOLOR_A(colour)))};
}
