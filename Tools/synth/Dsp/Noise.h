// White noise from a fixed-seed xorshift generator: the same seed gives the same sound on every
// build and machine (the standard library's distributions are not portable).
#pragma once

#include <cstdint>

namespace synth {

class Noise {
public:
    explicit Noise(uint32_t seed = 0x9E3779B9u) : state(seed == 0 ? 1u : seed) {}

    // Uniform in [-1, 1).
    float Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(static_cast<int32_t>(state)) * (1.0f / 2147483648.0f);
    }

private:
    uint32_t state;
};

} // namespace synth
