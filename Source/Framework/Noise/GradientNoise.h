// Classic gradient (Perlin) noise on process-wide tables, built from CrtRand at the first use.
#pragma once

namespace GradientNoise {

constexpr int TableSize = 256;

// Builds the tables now if they are not built yet (noise1 and noise3 do it on first use). Call it
// before evaluating noise from several threads.
void EnsureTables();

// Forgets the tables, so that the next use builds them again from the generator's state then.
void ResetTables();

// The lattice cell (b0, b1) and offsets (r0, r1) of one coordinate, as noise1 and noise3 set them
// up; for the bake, which sets each coordinate up once for many voxels.
struct Lattice {
    int b0, b1;
    float r0, r1;
};
Lattice LatticeOf(float coordinate);

float noise1(float x);
float noise3(float x, float y, float z);
// Six signed octaves: sum of noise3(2^i p) / 2^i.
float fractalNoise3(float x, float y, float z);

// The tables, for inspection.
const int* PermutationTable();     // 514 entries
const float* Gradients1();         // 514
const float* Gradients3();         // 514 x 3

} // namespace GradientNoise
