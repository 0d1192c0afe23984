// D3DX's filter flags and its "default" marker, with D3DX 9's values. The low byte names the
// filter; the higher bits are modifiers (mirroring, dithering) that this layer accepts and ignores.
#pragma once

#include <cstdint>

constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFFu;

constexpr uint32_t D3DX_FILTER_NONE = 1;
constexpr uint32_t D3DX_FILTER_POINT = 2;
constexpr uint32_t D3DX_FILTER_LINEAR = 3;
constexpr uint32_t D3DX_FILTER_TRIANGLE = 4;
constexpr uint32_t D3DX_FILTER_BOX = 5;
constexpr uint32_t D3DX_FILTER_MIRROR_U = 0x00010000;
constexpr uint32_t D3DX_FILTER_MIRROR_V = 0x00020000;
constexpr uint32_t D3DX_FILTER_MIRROR_W = 0x00040000;
constexpr uint32_t D3DX_FILTER_MIRROR = 0x00070000;
constexpr uint32_t D3DX_FILTER_DITHER = 0x00080000;
constexpr uint32_t D3DX_FILTER_DITHER_DIFFUSION = 0x00100000;
constexpr uint32_t D3DX_FILTER_SRGB_IN = 0x00200000;
constexpr uint32_t D3DX_FILTER_SRGB_OUT = 0x00400000;
constexpr uint32_t D3DX_FILTER_SRGB = 0x00600000;

// True when the flags ask for no filtering at all (D3DX_FILTER_NONE, whatever the modifiers).
constexpr bool IsFilterNone(uint32_t filter)
{
    return filter != D3DX_DEFAULT && (filter & 0xFF) == D3DX_FILTER_NONE;
}
