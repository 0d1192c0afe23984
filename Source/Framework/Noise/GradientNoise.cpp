#include "Framework/Noise/GradientNoise.h"

#include "Framework/Noise/CrtRand.h"

#include <cmath>
#include <utility>

namespace GradientNoise {
namespace {

constexpr int B = TableSize;
constexpr int Mask = B - 1;
constexpr int Extended = B + B + 2;

int p[Extended];
float g1[Extended];
float g2[Extended][2];
float g3[Extended][3];
bool firstUse = true;

float RandomComponent()
{
    return static_cast<float>((CrtRand::rand() % (B + B)) - B) / B;
}

void Normalize2(float v[2])
{
    const float s = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    v[0] = v[0] / s;
    v[1] = v[1] / s;
}

void Normalize3(float v[3])
{
    const float s = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    v[0] = v[0] / s;
    v[1] = v[1] / s;
    v[2] = v[2] / s;
}

void BuildTables()
{
    firstUse = false;
    for (int i = 0; i < B; ++i) {
        p[i] = i;
        g1[i] = RandomComponent();
        for (float& component : g2[i])
            component = RandomComponent();
        Normalize2(g2[i]);
        for (float& component : g3[i])
            component = RandomComponent();
        Normalize3(g3[i]);
    }
    for (int i = B - 1; i > 0; --i)
        std::swap(p[i], p[CrtRand::rand() % B]);
    for (int i = 0; i < B + 2; ++i) {
        p[B + i] = p[i];
        g1[B + i] = g1[i];
        g2[B + i][0] = g2[i][0];
        g2[B + i][1] = g2[i][1];
        for (int k = 0; k < 3; ++k)
            g3[B + i][k] = g3[i][k];
    }
}

float Fade(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

float Lerp(float w, float a, float b)
{
    return a + w * (b - a);
}

float At(const float q[3], float u, float v, float w)
{
    return u * q[0] + v * q[1] + w * q[2];
}

} // namespace

Lattice LatticeOf(float coordinate)
{
    float t = coordinate + 4096.0f;
    // The lattice repeats every B cells, so a coordinate beyond int's range (camera shake driven by
    // a huge sync value) is first brought back by whole periods: the same cell and offset. NaN and
    // the infinities lie in no cell; they read the cell at 0.
    if (!(std::fabs(t) < 1073741824.0f))
        t = std::isfinite(t) ? std::fmod(t, static_cast<float>(B)) : 0.0f;
    const int i0 = static_cast<int>(t);
    Lattice lattice;
    lattice.b0 = i0 & Mask;
    lattice.b1 = (lattice.b0 + 1) & Mask;
    lattice.r0 = t - static_cast<float>(i0);
    lattice.r1 = lattice.r0 - 1.0f;
    return lattice;
}

void EnsureTables()
{
    if (firstUse)
        BuildTables();
}

void ResetTables()
{
    firstUse = true;
}

float noise1(float x)
{
    EnsureTables();
    const Lattice l = LatticeOf(x);
    const float s = Fade(l.r0);
    const float u = l.r0 * g1[p[l.b0]];
    const float v = l.r1 * g1[p[l.b1]];
    return u + s * (v - u);
}

float noise3(float x, float y, float z)
{
    EnsureTables();
    const Lattice lx = LatticeOf(x), ly = LatticeOf(y), lz = LatticeOf(z);
    const int i = p[lx.b0];
    const int j = p[lx.b1];
    const int b00 = p[i + ly.b0];
    const int b10 = p[j + ly.b0];
    const int b01 = p[i + ly.b1];
    const int b11 = p[j + ly.b1];

    const float sx = Fade(lx.r0), sy = Fade(ly.r0), sz = Fade(lz.r0);
    const auto layer = [&](int bz, float rz) {
        const float a = Lerp(sx, At(g3[b00 + bz], lx.r0, ly.r0, rz), At(g3[b10 + bz], lx.r1, ly.r0, rz));
        const float b = Lerp(sx, At(g3[b01 + bz], lx.r0, ly.r1, rz), At(g3[b11 + bz], lx.r1, ly.r1, rz));
        return Lerp(sy, a, b);
    };
    const float c = layer(lz.b0, lz.r0);
    const float d = layer(lz.b1, lz.r1);
    return Lerp(sz, c, d);
}

float fractalNoise3(float x, float y, float z)
{
    float sum = 0.0f;
    float divisor = 1.0f;
    for (int octave = 0; octave < 6; ++octave) {
        sum += noise3(x, y, z) / divisor;
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
        divisor *= 2.0f;
    }
    return sum;
}

const int* PermutationTable() { return p; }
const float* Gradients1() { return g1; }
const float* Gradients3() { return &g3[0][0]; }

} // namespace GradientNoise
