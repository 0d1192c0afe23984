// 16-bit floats as D3DX converts them for half-float texels (D3DFMT_A16B16G16R16F and kin): IEEE 754
// binary16, rounded to nearest with ties to even, with denormals, infinities and NaN.
#pragma once

#include <cstdint>

struct D3DXFLOAT16 {
    uint16_t value = 0;
    friend bool operator==(const D3DXFLOAT16&, const D3DXFLOAT16&) = default;
};

// Both convert n values and return out. Magnitudes from 65520 up become infinity; NaN stays NaN.
D3DXFLOAT16* D3DXFloat32To16Array(D3DXFLOAT16* out, const float* in, unsigned n);
float* D3DXFloat16To32Array(float* out, const D3DXFLOAT16* in, unsigned n);
