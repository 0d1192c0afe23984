#include "Framework/Noise/NoiseVolume.h"

#include "Framework/Noise/GradientNoise.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

namespace NoiseVolume {
namespace {

// The blend of the eight shifted copies of the noise that makes the volume tile with period w.
float TileableNoise(float X, float Y, float Z, float w)
{
    using GradientNoise::fractalNoise3;
    return fractalNoise3(X, Y, Z) * (w - X) * (w - Y) * (w - Z) +
           fractalNoise3(X - w, Y, Z) * X * (w - Y) * (w - Z) +
           fractalNoise3(X, Y - w, Z) * (w - X) * Y * (w - Z) +
           fractalNoise3(X - w, Y - w, Z) * X * Y * (w - Z) +
           fractalNoise3(X, Y, Z - w) * (w - X) * (w - Y) * Z +
           fractalNoise3(X - w, Y, Z - w) * X * (w - Y) * Z +
           fractalNoise3(X, Y - w, Z - w) * (w - X) * Y * Z +
           fractalNoise3(X - w, Y - w, Z - w) * X * Y * Z;
}

void BakeSlices(uint8_t* destination, unsigned edge, size_t rowPitch, size_t slicePitch, unsigned firstSlice,
                unsigned sliceStep)
{
    const float w = edge * Frequency;
    const float normalise = 1.0f / (w * w * w);
    for (unsigned z = firstSlice; z < edge; z += sliceStep)
        for (unsigned y = 0; y < edge; ++y) {
            uint8_t* row = destination + z * slicePitch + y * rowPitch;
            for (unsigned x = 0; x < edge; ++x) {
                const float F = TileableNoise(Frequency * x, Frequency * y, Frequency * z, w);
                row[x] = VoxelByte(F * normalise + 0.55f);
            }
        }
}

} // namespace

uint8_t VoxelByte(float v)
{
    const float clamped = std::clamp(v, 0.0f, 1.0f);
    return static_cast<uint8_t>(std::lround(clamped * 255.0f));
}

void Bake(uint8_t* destination, unsigned edge, size_t rowPitch, size_t slicePitch, unsigned threadCount)
{
    GradientNoise::EnsureTables();
    threadCount = std::clamp(threadCount, 1u, std::max(edge, 1u));
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threadCount; ++t)
        workers.emplace_back(BakeSlices, destination, edge, rowPitch, slicePitch, t, threadCount);
    BakeSlices(destination, edge, rowPitch, slicePitch, 0, threadCount);
    for (std::thread& worker : workers)
        worker.join();
}

} // namespace NoiseVolume
