// The image layout of a cube texture: the six faces stacked top to bottom in Direct3D's face order
// +X, -X, +Y, -Y, +Z, -Z, each a square N x N, so the whole image is N wide and 6N high. Each face
// is stored as Direct3D stores that face (its row 0 is the face's top row, v = 0).
#pragma once

#include "Platform/D3DX/CpuImage.h"

#include <array>

constexpr unsigned CubeFaceCount = 6;

// Throws D3DXDataError when the image is not N wide and 6N high.
std::array<CpuImage, CubeFaceCount> SplitCubeFaces(const CpuImage& strip);
