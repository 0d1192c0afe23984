// 16-bit floats (1 sign, 5 exponent, 10 mantissa bits) for the half-float formats.
#pragma once

#include <cstdint>

// Rounds to the nearest half, ties to even; overflow becomes infinity, NaN stays NaN.
uint16_t FloatToHalf(float value);
float HalfToFloat(uint16_t half);
