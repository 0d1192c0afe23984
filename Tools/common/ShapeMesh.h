// A triangle mesh as the data tools build it before writing it out (XFileText.h). Every triangle
// (a, b, c) is wound so that (b - a) x (c - a) points out of the shape, along its vertices'
// normals: clockwise seen from outside in Direct3D's left-handed view, the winding ".x" files use
// for front faces.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ShapeMesh {
    std::string name;
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals; // one per vertex
    std::vector<std::array<float, 2>> texCoords; // one per vertex
    std::vector<std::array<uint32_t, 3>> triangles;
};
