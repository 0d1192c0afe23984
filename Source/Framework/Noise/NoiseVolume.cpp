#include "Framework/Noise/NoiseVolume.h"

#include "Framework/Noise/GradientNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>
#include <vector>

namespace NoiseVolume {
namespace {

// The bake evaluates GradientNoise::fractalNoise3 at 2 097 152 voxels x 8 shifted copies, and it
// must give the very bytes that evaluating it point by point gives. Most of the work of one
// evaluation depends on one coordinate alone (its lattice cell, offsets and fade) or on x and y
// alone (the hashed lattice corners), so it is done once per coordinate or per column of voxels
// here, and each voxel does only what depends on z. Every float operation is the one noise3 makes,
// in its order.

constexpr int Octaves = 6;

// One coordinate's lattice cell, offsets and fade weight at one octave, as noise3 sets them up.
struct Axis : GradientNoise::Lattice {
    float fade;
};

Axis SetUpAxis(float coordinate)
{
    Axis axis{GradientNoise::LatticeOf(coordinate), 0.0f};
    axis.fade = axis.r0 * axis.r0 * (3.0f - 2.0f * axis.r0);
    return axis;
}

float Lerp(float w, float a, float b)
{
    return a + w * (b - a);
}

float At(const float* q, float u, float v, float w)
{
    return u * q[0] + v * q[1] + w * q[2];
}

// For voxel index c along one axis, copy 0 (at Frequency * c) and copy 1 (shifted by -w), each
// doubled octave by octave as fractalNoise3 doubles its point.
class AxisTable {
public:
    AxisTable(unsigned edge, float w) : axes(size_t(edge) * 2 * Octaves)
    {
        for (unsigned c = 0; c < edge; ++c) {
            const float at = Frequency * c;
            float coordinates[2] = {at, at - w};
            for (int octave = 0; octave < Octaves; ++octave)
                for (int copy = 0; copy < 2; ++copy) {
                    axes[Index(c, copy, octave)] = SetUpAxis(coordinates[copy]);
                    coordinates[copy] *= 2.0f;
                }
        }
    }
    const Axis& operator()(unsigned c, int copy, int octave) const { return axes[Index(c, copy, octave)]; }

private:
    static size_t Index(unsigned c, int copy, int octave) { return (size_t(c) * Octaves + octave) * 2 + copy; }
    std::vector<Axis> axes;
};

// The x and y part of noise3 for one column of voxels: the four hashed corners and their offsets.
struct Column {
    int b00, b10, b01, b11;
    float rx0, rx1, ry0, ry1, sx, sy;
};

Column SetUpColumn(const int* p, const Axis& x, const Axis& y)
{
    const int i = p[x.b0];
    const int j = p[x.b1];
    return {p[i + y.b0], p[j + y.b0], p[i + y.b1], p[j + y.b1], x.r0, x.r1, y.r0, y.r1, x.fade, y.fade};
}

float Noise(const float* g3, const Column& column, const Axis& z)
{
    const auto layer = [&](int bz, float rz) {
        const float a = Lerp(column.sx, At(g3 + 3 * (column.b00 + bz), column.rx0, column.ry0, rz),
                             At(g3 + 3 * (column.b10 + bz), column.rx1, column.ry0, rz));
        const float b = Lerp(column.sx, At(g3 + 3 * (column.b01 + bz), column.rx0, column.ry1, rz),
                             At(g3 + 3 * (column.b11 + bz), column.rx1, column.ry1, rz));
        return Lerp(column.sy, a, b);
    };
    const float c = layer(z.b0, z.r0);
    const float d = layer(z.b1, z.r1);
    return Lerp(z.fade, c, d);
}

// The eight copies' fractal noise along one column (x, y): sums[z][copy], copy bit 0 shifting x,
// bit 1 y and bit 2 z, each summed octave after octave as fractalNoise3 sums them.
void SumColumn(const AxisTable& axes, unsigned edge, unsigned x, unsigned y, std::vector<std::array<float, 8>>& sums)
{
    const int* p = GradientNoise::PermutationTable();
    const float* g3 = GradientNoise::Gradients3();
    std::fill(sums.begin(), sums.end(), std::array<float, 8>{});
    float divisor = 1.0f;
    for (int octave = 0; octave < Octaves; ++octave) {
        for (int xy = 0; xy < 4; ++xy) {
            const Column column = SetUpColumn(p, axes(x, xy & 1, octave), axes(y, xy >> 1, octave));
            for (unsigned z = 0; z < edge; ++z)
                for (int zCopy = 0; zCopy < 2; ++zCopy)
                    sums[z][xy | zCopy << 2] += Noise(g3, column, axes(z, zCopy, octave)) / divisor;
        }
        divisor *= 2.0f;
    }
}

// The blend of the eight shifted copies f (indexed as in SumColumn) that makes the volume tile with
// period w, in the order of the terms of the volume's formula.
float TileableNoise(const std::array<float, 8>& f, float X, float Y, float Z, float w)
{
    return f[0] * (w - X) * (w - Y) * (w - Z) + f[1] * X * (w - Y) * (w - Z) + f[2] * (w - X) * Y * (w - Z) +
           f[3] * X * Y * (w - Z) + f[4] * (w - X) * (w - Y) * Z + f[5] * X * (w - Y) * Z + f[6] * (w - X) * Y * Z +
           f[7] * X * Y * Z;
}

void BakeRows(uint8_t* destination, unsigned edge, size_t rowPitch, size_t slicePitch, const AxisTable& axes,
              unsigned firstRow, unsigned rowStep)
{
    const float w = edge * Frequency;
    const float normalise = 1.0f / (w * w * w);
    std::vector<std::array<float, 8>> sums(edge);
    for (unsigned y = firstRow; y < edge; y += rowStep)
        for (unsigned x = 0; x < edge; ++x) {
            SumColumn(axes, edge, x, y, sums);
            for (unsigned z = 0; z < edge; ++z) {
                const float F = TileableNoise(sums[z], Frequency * x, Frequency * y, Frequency * z, w);
                destination[z * slicePitch + y * rowPitch + x] = VoxelByte(F * normalise + 0.55f);
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
    const AxisTable axes(edge, edge * Frequency);
    threadCount = std::clamp(threadCount, 1u, std::max(edge, 1u));
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threadCount; ++t)
        workers.emplace_back(BakeRows, destination, edge, rowPitch, slicePitch, std::cref(axes), t, threadCount);
    BakeRows(destination, edge, rowPitch, slicePitch, axes, 0, threadCount);
    for (std::thread& worker : workers)
        worker.join();
}

} // namespace NoiseVolume
