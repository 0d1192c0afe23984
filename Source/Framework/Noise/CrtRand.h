// The process-wide pseudo-random generator that the flow field, the noise tables, the
// post-processing kernel and the particle modules share; the order of draws is part of the show.
#pragma once

#include <cstdint>

namespace CrtRand {

constexpr int RandMax = 0x7FFF;
// The state a process starts with, as if seeded with 1.
constexpr uint32_t ProcessSeed = 1;

void srand(uint32_t seed);
// state = state * 214013 + 2531011; returns bits 16 to 30 of the new state.
int rand();
// The generator's state, so that a tool can reproduce what a run would draw.
uint32_t State();

// A draw mapped to [-1, 1] (times 2 / 32767, minus 1) in single precision, as the show maps them.
inline float Signed(int r)
{
    return static_cast<float>(r) * 6.103702e-5f - 1.0f;
}

} // namespace CrtRand
