// An image in memory as a texture level holds it in D3DFMT_A8R8G8B8: rows top-down with no padding
// (pitch = 4 x width), each texel the bytes B, G, R, A. The device side copies it into a texture
// level as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct CpuImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> texels; // 4 x width x height bytes

    static constexpr uint32_t BytesPerTexel = 4;
    uint32_t Pitch() const { return width * BytesPerTexel; }
    const uint8_t* Texel(uint32_t x, uint32_t y) const { return &texels[(size_t(y) * width + x) * BytesPerTexel]; }
    uint8_t* Texel(uint32_t x, uint32_t y) { return &texels[(size_t(y) * width + x) * BytesPerTexel]; }

    friend bool operator==(const CpuImage&, const CpuImage&) = default;
};
