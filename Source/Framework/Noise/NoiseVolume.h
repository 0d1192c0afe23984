// The voxels of the tileable fractal noise volume bound to every effect as "NOISETEX".
#pragma once

#include <cstddef>
#include <cstdint>

namespace NoiseVolume {

constexpr unsigned Edge = 128;
constexpr size_t ByteCount = size_t(Edge) * Edge * Edge; // 2 097 152, the size of "Data\noise.bin"
constexpr float Frequency = 0.05f;                        // lattice units per voxel

// The byte of a blended noise value v: v clamped to [0, 1], times 255, rounded to nearest.
uint8_t VoxelByte(float v);

// Fills an edge^3 volume that wraps seamlessly in all three directions, x fastest, rows rowPitch
// bytes apart and slices slicePitch bytes apart. The noise tables are built first, on this thread;
// the voxels then draw no random numbers, so any threadCount gives the same bytes.
void Bake(uint8_t* destination, unsigned edge, size_t rowPitch, size_t slicePitch, unsigned threadCount);

} // namespace NoiseVolume
