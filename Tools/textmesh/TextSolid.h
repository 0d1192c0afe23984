// The solid of a filled text area: a front face, a back face and side walls along its boundary.
#pragma once

#include "FilledArea.h"
#include "ShapeMesh.h"

struct SolidLook {
    double depth;     // along z, centred on z = 0
    double advance;   // the line's advance: u = x / advance
    double capHeight; // v = 1 - y / capHeight
};

// The front face lies in z = +depth / 2 facing +z, the back face in z = -depth / 2 facing -z. The
// side walls are flat-shaded where the boundary turns by CreaseDegrees or more at a point (the
// wall meets there with a vertex on either side, each with its own wall's normal) and smooth where
// it turns less (one vertex with the mean of both walls' normals), so that flattened curves look
// round and corners stay sharp. Every vertex, on the walls too, takes its texture coordinates from
// its x and y.
constexpr double CreaseDegrees = 40.0;

ShapeMesh MakeTextSolid(const FilledArea& area, const SolidLook& look);
