#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/GradientNoise.h"
#include "Framework/Noise/NoiseVolume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The generator and the noise, written out again from their definitions, as the reference.
struct ReferenceRand {
    uint32_t state;
    int operator()()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

struct ReferenceNoise {
    int p[514];
    float g1[514];
    float g3[514][3];

    explicit ReferenceNoise(uint32_t seed)
    {
        ReferenceRand rand{seed};
        auto component = [&] { return float((rand() % 512) - 256) / 256; };
        for (int i = 0; i < 256; ++i) {
            p[i] = i;
            g1[i] = component();
            float g2[2] = {component(), component()};
            (void)g2; // drawn only to keep the order of draws
            for (float& c : g3[i])
                c = component();
            const float length = std::sqrt(g3[i][0] * g3[i][0] + g3[i][1] * g3[i][1] + g3[i][2] * g3[i][2]);
            for (float& c : g3[i])
                c = c / length;
        }
        for (int i = 255; i > 0; --i) {
            const int j = rand() % 256;
            std::swap(p[i], p[j]);
        }
        for (int i = 0; i < 258; ++i) {
            p[256 + i] = p[i];
            g1[256 + i] = g1[i];
            for (int k = 0; k < 3; ++k)
                g3[256 + i][k] = g3[i][k];
        }
    }

    static float S(float t) { return t * t * (3.0f - 2.0f * t); }
    static float Lerp(float w, float a, float b) { return a + w * (b - a); }

    float Noise1(float x) const
    {
        const float t = x + 4096.0f;
        const int i0 = int(t);
        const int b0 = i0 & 255, b1 = (b0 + 1) & 255;
        const float r0 = t - float(i0), r1 = r0 - 1.0f;
        const float u = r0 * g1[p[b0]], v = r1 * g1[p[b1]];
        return u + S(r0) * (v - u);
    }

    float Noise3(float x, float y, float z) const
    {
        int b0[3], b1[3];
        float r0[3], r1[3];
        const float c[3] = {x, y, z};
        for (int a = 0; a < 3; ++a) {
            const float t = c[a] + 4096.0f;
            const int i0 = int(t);
            b0[a] = i0 & 255;
            b1[a] = (b0[a] + 1) & 255;
            r0[a] = t - float(i0);
            r1[a] = r0[a] - 1.0f;
        }
        const int i = p[b0[0]], j = p[b1[0]];
        const int b00 = p[i + b0[1]], b10 = p[j + b0[1]], b01 = p[i + b1[1]], b11 = p[j + b1[1]];
        auto at = [&](int g, float u, float v, float w) { return u * g3[g][0] + v * g3[g][1] + w * g3[g][2]; };
        auto layer = [&](int bz, float rz) {
            return Lerp(S(r0[1]), Lerp(S(r0[0]), at(b00 + bz, r0[0], r0[1], rz), at(b10 + bz, r1[0], r0[1], rz)),
                        Lerp(S(r0[0]), at(b01 + bz, r0[0], r1[1], rz), at(b11 + bz, r1[0], r1[1], rz)));
        };
        return Lerp(S(r0[2]), layer(b0[2], r0[2]), layer(b1[2], r1[2]));
    }

    float Fractal(float x, float y, float z) const
    {
        float sum = 0.0f, divisor = 1.0f;
        for (int i = 0; i < 6; ++i, x *= 2, y *= 2, z *= 2, divisor *= 2)
            sum += Noise3(x, y, z) / divisor;
        return sum;
    }
};

class NoiseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CrtRand::srand(Seed);
        GradientNoise::ResetTables();
    }
    void TearDown() override { GradientNoise::ResetTables(); }

    static constexpr uint32_t Seed = 77;
    const ReferenceNoise reference{Seed};
};

} // namespace

TEST(CrtRandTest, FollowsTheRuntimeGeneratorSequence)
{
    CrtRand::srand(1);
    EXPECT_EQ(CrtRand::rand(), 41);
    EXPECT_EQ(CrtRand::rand(), 18467);
    EXPECT_EQ(CrtRand::rand(), 6334);
    CrtRand::srand(0xFFFFFFFFu);
    ReferenceRand reference{0xFFFFFFFFu};
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(CrtRand::rand(), reference());
}

TEST_F(NoiseTest, TablesAreBuiltAtFirstUseFromTheGeneratorInItsOrder)
{
    CrtRand::rand(); // draws before the first noise call change the tables
    const ReferenceNoise shifted{Seed * 214013u + 2531011u};
    GradientNoise::noise1(0.5f);
    for (int i = 0; i < 514; ++i) {
        ASSERT_EQ(GradientNoise::PermutationTable()[i], shifted.p[i]) << i;
        ASSERT_EQ(GradientNoise::Gradients1()[i], shifted.g1[i]) << i;
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(GradientNoise::Gradients3()[i * 3 + k], shifted.g3[i][k]) << i;
    }
    // 256 x 6 gradient draws and 255 shuffle draws, nothing more.
    ReferenceRand after{Seed * 214013u + 2531011u};
    for (int i = 0; i < 256 * 6 + 255; ++i)
        after();
    EXPECT_EQ(CrtRand::State(), after.state);
}

TEST_F(NoiseTest, NoiseMatchesTheClassicFormulation)
{
    for (float x : {0.0f, 0.37f, 1.0f, 5.5f, -3.25f, 200.9f})
        EXPECT_EQ(GradientNoise::noise1(x), reference.Noise1(x)) << x;
    const float points[][3] = {{0.1f, 0.2f, 0.3f}, {5.3f, -2.7f, 9.9f}, {-100.5f, 0.0f, 64.25f}, {3, 3, 3}};
    for (const auto& q : points) {
        EXPECT_EQ(GradientNoise::noise3(q[0], q[1], q[2]), reference.Noise3(q[0], q[1], q[2]));
        EXPECT_EQ(GradientNoise::fractalNoise3(q[0], q[1], q[2]), reference.Fractal(q[0], q[1], q[2]));
    }
    EXPECT_EQ(GradientNoise::noise3(3, 3, 3), 0.0f) << "noise vanishes on lattice points";
}

TEST(NoiseVolumeTest, VoxelBytesClampAndRoundToNearest)
{
    EXPECT_EQ(NoiseVolume::VoxelByte(1.3f), 255);
    EXPECT_EQ(NoiseVolume::VoxelByte(-0.2f), 0);
    EXPECT_EQ(NoiseVolume::VoxelByte(0.5f), 128);
    EXPECT_EQ(NoiseVolume::VoxelByte(0.55f), 140);
}

TEST_F(NoiseTest, VolumeBlendsEightShiftedCopiesAndIsTheSameOnAnyThreadCount)
{
    constexpr unsigned edge = 12;
    constexpr size_t rowPitch = 16, slicePitch = rowPitch * edge + 8; // padded like a locked box
    std::vector<uint8_t> one(slicePitch * edge, 0xCD), two(slicePitch * edge, 0xCD), three(slicePitch * edge, 0xCD);
    NoiseVolume::Bake(one.data(), edge, rowPitch, slicePitch, 1);
    NoiseVolume::Bake(two.data(), edge, rowPitch, slicePitch, 2);
    NoiseVolume::Bake(three.data(), edge, rowPitch, slicePitch, 5);
    EXPECT_EQ(one, two);
    EXPECT_EQ(one, three);

    const float w = edge * 0.05f;
    for (unsigned z : {0u, 5u, 11u})
        for (unsigned y : {0u, 7u})
            for (unsigned x : {0u, 3u, 11u}) {
                const float X = 0.05f * x, Y = 0.05f * y, Z = 0.05f * z;
                auto f = [&](float a, float b, float c) { return reference.Fractal(a, b, c); };
                const float F = f(X, Y, Z) * (w - X) * (w - Y) * (w - Z) + f(X - w, Y, Z) * X * (w - Y) * (w - Z) +
                                f(X, Y - w, Z) * (w - X) * Y * (w - Z) + f(X - w, Y - w, Z) * X * Y * (w - Z) +
                                f(X, Y, Z - w) * (w - X) * (w - Y) * Z + f(X - w, Y, Z - w) * X * (w - Y) * Z +
                                f(X, Y - w, Z - w) * (w - X) * Y * Z + f(X - w, Y - w, Z - w) * X * Y * Z;
                const float v = std::clamp(F / (w * w * w) + 0.55f, 0.0f, 1.0f);
                EXPECT_NEAR(one[z * slicePitch + y * rowPitch + x], std::lround(v * 255.0f), 1) << x << y << z;
            }
    EXPECT_EQ(one[rowPitch - 1], 0xCD) << "row padding stays untouched";
    EXPECT_EQ(one[slicePitch - 1], 0xCD) << "slice padding stays untouched";
}

// The bake shares out the work of noise3 between coordinates, columns and voxels; every byte must
// still be the one that the volume's formula gives with fractalNoise3 evaluated point by point.
TEST_F(NoiseTest, BakeGivesTheBytesOfTheFormulaEvaluatedPointByPoint)
{
    using GradientNoise::fractalNoise3;
    for (unsigned edge : {20u, 37u}) {
        std::vector<uint8_t> baked(size_t(edge) * edge * edge);
        NoiseVolume::Bake(baked.data(), edge, edge, size_t(edge) * edge, 2);
        const float w = edge * NoiseVolume::Frequency;
        size_t differing = 0;
        for (unsigned z = 0; z < edge; ++z)
            for (unsigned y = 0; y < edge; ++y)
                for (unsigned x = 0; x < edge; ++x) {
                    const float X = NoiseVolume::Frequency * x, Y = NoiseVolume::Frequency * y,
                                Z = NoiseVolume::Frequency * z;
                    const float F = fractalNoise3(X, Y, Z) * (w - X) * (w - Y) * (w - Z) +
                                    fractalNoise3(X - w, Y, Z) * X * (w - Y) * (w - Z) +
                                    fractalNoise3(X, Y - w, Z) * (w - X) * Y * (w - Z) +
                                    fractalNoise3(X - w, Y - w, Z) * X * Y * (w - Z) +
                                    fractalNoise3(X, Y, Z - w) * (w - X) * (w - Y) * Z +
                                    fractalNoise3(X - w, Y, Z - w) * X * (w - Y) * Z +
                                    fractalNoise3(X, Y - w, Z - w) * (w - X) * Y * Z +
                                    fractalNoise3(X - w, Y - w, Z - w) * X * Y * Z;
                    const uint8_t expected = NoiseVolume::VoxelByte(F * (1.0f / (w * w * w)) + 0.55f);
                    differing += baked[(size_t(z) * edge + y) * edge + x] != expected;
                }
        EXPECT_EQ(differing, 0u) << "of the " << baked.size() << " voxels of edge " << edge;
    }
}
