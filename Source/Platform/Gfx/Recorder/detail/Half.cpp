#include "Platform/Gfx/Recorder/detail/Half.h"

#include <bit>
#include <cmath>

uint16_t FloatToHalf(float value)
{
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    const uint32_t sign = (bits >> 16) & 0x8000u;
    const uint32_t exponent = (bits >> 23) & 0xFFu;
    uint32_t mantissa = bits & 0x7FFFFFu;
    if (exponent == 0xFF) {
        return static_cast<uint16_t>(sign | 0x7C00u | (mantissa ? 0x200u : 0u));
    }
    const int halfExponent = static_cast<int>(exponent) - 127 + 15;
    if (halfExponent >= 31) {
        return static_cast<uint16_t>(sign | 0x7C00u);
    }
    if (halfExponent <= 0) {
        // Subnormal half (or zero): shift the mantissa, with its implicit bit, into place.
        if (halfExponent < -10) {
            return static_cast<uint16_t>(sign);
        }
        mantissa |= 0x800000u;
        const int shift = 14 - halfExponent;
        uint32_t half = mantissa >> shift;
        const uint32_t rest = mantissa & ((1u << shift) - 1);
        const uint32_t halfway = 1u << (shift - 1);
        if (rest > halfway || (rest == halfway && (half & 1u))) {
            ++half;
        }
        return static_cast<uint16_t>(sign | half);
    }
    uint32_t half = (static_cast<uint32_t>(halfExponent) << 10) | (mantissa >> 13);
    const uint32_t rest = mantissa & 0x1FFFu;
    if (rest > 0x1000u || (rest == 0x1000u && (half & 1u))) {
        ++half; // a carry into the exponent is the right rounding, up to infinity
    }
    return static_cast<uint16_t>(sign | half);
}

float HalfToFloat(uint16_t half)
{
    const float sign = (half & 0x8000u) ? -1.0f : 1.0f;
    const int exponent = (half >> 10) & 0x1F;
    const int mantissa = half & 0x3FF;
    if (exponent == 0) {
        return sign * std::ldexp(static_cast<float>(mantissa), -24);
    }
    if (exponent == 31) {
        return mantissa ? std::nanf("") : sign * INFINITY;
    }
    return sign * std::ldexp(static_cast<float>(mantissa + 1024), exponent - 25);
}
