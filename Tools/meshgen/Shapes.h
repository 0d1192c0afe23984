// The shapes meshgen makes, centred on the origin. Every triangle (a, b, c) is wound so that
// (b - a) x (c - a) points out of the shape, along its vertices' normals: clockwise seen from
// outside in Direct3D's left-handed view, the winding ".x" files use for front faces. Texture
// coordinates run from (0, 0) at a face's top left to (1, 1) at its bottom right.
#pragma once

#include "ShapeMesh.h"

#include <cstdint>
#include <string>

// A box of the given size: 24 vertices (four per side, so that each side has its own normal and
// texture), 12 triangles, sides in Direct3D's cube-face order +X, -X, +Y, -Y, +Z, -Z. A side of
// +X, -X, +Z or -Z has +Y at the top of its texture; +Y has +Z at the top, -Y has -Z.
ShapeMesh MakeBox(float width, float height, float depth, const std::string& name = "Box");

// A plane in y = 0 facing +y, width along x and depth along z, cut into subdivisions x
// subdivisions squares: (n + 1)^2 vertices, 2n^2 triangles. u grows with x, v with z.
ShapeMesh MakePlane(float width, float depth, uint32_t subdivisions);

// The unit sphere with segments around the y axis and rings from the pole at +y (v = 0) to the
// pole at -y (v = 1); u grows with the angle from +x towards +z. (rings + 1)(segments + 1)
// vertices (the seam and the poles repeat with their own texture coordinates) and
// 2 x segments x (rings - 1) triangles.
ShapeMesh MakeSphere(uint32_t segments, uint32_t rings);

// The unit cube (+-0.5) with its edges and corners rounded to radius (above 0, below 0.5): flat
// sides, quarter-cylinder edges of segments steps and corner patches that join them without gaps.
// Normals follow the rounding, so lights glint along the edges. Each vertex takes its texture
// coordinates from the box side its normal leans towards most, as MakeBox lays them out.
ShapeMesh MakeBevelCube(float radius, uint32_t segments);
