// D3DCOLOR: a 32-bit colour 0xAARRGGBB (the bytes B, G, R, A in memory), and Direct3D's helpers
// that build one.
#pragma once

#include "Platform/ClampToInteger.h"
#include "Platform/Gfx/D3D9Base.h"

using D3DCOLOR = DWORD;

constexpr D3DCOLOR D3DCOLOR_ARGB(DWORD a, DWORD r, DWORD g, DWORD b)
{
    return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

constexpr D3DCOLOR D3DCOLOR_RGBA(DWORD r, DWORD g, DWORD b, DWORD a) { return D3DCOLOR_ARGB(a, r, g, b); }
constexpr D3DCOLOR D3DCOLOR_XRGB(DWORD r, DWORD g, DWORD b) { return D3DCOLOR_ARGB(0xFF, r, g, b); }

// Channels in [0, 1]; like Direct3D's macro, values are scaled by 255 and truncated. A channel
// outside the range (or NaN, from data) takes the nearest end instead of an undefined byte.
constexpr D3DCOLOR D3DCOLOR_COLORVALUE(float r, float g, float b, float a)
{
    return D3DCOLOR_RGBA(ClampToInteger(r * 255.0f, 0u, 255u), ClampToInteger(g * 255.0f, 0u, 255u),
                         ClampToInteger(b * 255.0f, 0u, 255u), ClampToInteger(a * 255.0f, 0u, 255u));
}

constexpr DWORD D3DCOLOR_A(D3DCOLOR c) { return (c >> 24) & 0xFFu; }
constexpr DWORD D3DCOLOR_R(D3DCOLOR c) { return (c >> 16) & 0xFFu; }
constexpr DWORD D3DCOLOR_G(D3DCOLOR c) { return (c >> 8) & 0xFFu; }
constexpr DWORD D3DCOLOR_B(D3DCOLOR c) { return c & 0xFFu; }
