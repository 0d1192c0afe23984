#include "Platform/D3DX/D3DXFloat16.h"

#include <bit>

namespace {

constexpr uint32_t HalfInfinity = 0x7c00;
constexpr uint32_t HalfQuietBit = 0x0200;

// value >> shift, rounded to nearest with ties to even. A carry out of the mantissa lands in the
// exponent, which is exactly the next representable number.
uint32_t ShiftRoundingToEven(uint32_t value, uint32_t shift)
{
    const uint32_t kept = value >> shift;
    const uint32_t dropped = value & ((1u << shift) - 1);
    const uint32_t half = 1u << (shift - 1);
    return kept + (dropped > half || (dropped == half && (kept & 1)) ? 1 : 0);
}

uint16_t ToHalf(float value)
{
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    const uint32_t sign = (bits >> 16) & 0x8000;
    const uint32_t magnitude = bits & 0x7fffffff;
    const uint32_t exponent = magnitude >> 23;

    if (magnitude > 0x7f800000) // NaN: keep the payload's top bits and make sure it stays a NaN
        return static_cast<uint16_t>(sign | HalfInfinity | HalfQuietBit | ((magnitude & 0x7fffff) >> 13));
    if (exponent >= 113) { // normal in half precision, or too large for it
        if (exponent >= 143) // 65536 and up, infinity included
            return static_cast<uint16_t>(sign | HalfInfinity);
        // From 65520 up the rounding carries into the all-ones exponent: infinity, as it should.
        return static_cast<uint16_t>(sign | ShiftRoundingToEven(magnitude - (112u << 23), 13));
    }
    if (exponent < 102) // below half the smallest denormal (2^-25): rounds to zero
        return static_cast<uint16_t>(sign);
    // A half denormal counts units of 2^-24; the float is mantissa * 2^(exponent - 150).
    const uint32_t mantissa = (magnitude & 0x7fffff) | 0x800000;
    return static_cast<uint16_t>(sign | ShiftRoundingToEven(mantissa, 126 - exponent));
}

float ToFloat(uint16_t half)
{
    const uint32_t sign = uint32_t(half & 0x8000) << 16;
    const uint32_t exponent = (half >> 10) & 0x1f;
    uint32_t mantissa = half & 0x3ff;

    if (exponent == 0x1f) // infinity or NaN, payload kept
        return std::bit_cast<float>(sign | 0x7f800000 | (mantissa << 13));
    if (exponent != 0)
        return std::bit_cast<float>(sign | ((exponent + 112) << 23) | (mantissa << 13));
    if (mantissa == 0)
        return std::bit_cast<float>(sign);
    // Denormal: normalise it, every one is a normal float.
    uint32_t floatExponent = 113;
    while (!(mantissa & 0x400)) {
        mantissa <<= 1;
        --floatExponent;
    }
    return std::bit_cast<float>(sign | (floatExponent << 23) | ((mantissa & 0x3ff) << 13));
}

} // namespace

D3DXFLOAT16* D3DXFloat32To16Array(D3DXFLOAT16* out, const float* in, unsigned n)
{
    for (unsigned i = 0; i < n; ++i)
        out[i].value = ToHalf(in[i]);
    return out;
}

float* D3DXFloat16To32Array(float* out, const D3DXFLOAT16* in, unsigned n)
{
    for (unsigned i = 0; i < n; ++i)
        out[i] = ToFloat(in[i].value);
    return out;
}
