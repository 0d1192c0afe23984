// The value of one effect parameter as an effect (or, for a shared parameter, its pool) keeps it:
// its floats, or its texture. Every change takes a new version number, unique in the process, so
// that a driver can tell what it has already applied.
#pragma once

#include "Platform/Fx/detail/TextureHold.h"

#include <cstdint>
#include <vector>

namespace fx {

struct ParameterValue {
    std::vector<float> floats; // FloatCount of the parameter; empty for a texture
    detail::TextureHold texture;
    uint64_t version = NextVersion();

    void Changed() { version = NextVersion(); }

    static uint64_t NextVersion()
    {
        static uint64_t last = 0;
        return ++last;
    }
};

} // namespace fx
