// The area a text outline fills, cut into triangles by the GLU tessellator: first the boundary
// of the filled area under the outline's fill rule (overlapping contours merged, crossings cut),
// then that boundary triangulated, holes left open.
#pragma once

#include "Outline.h"

#include <array>
#include <cstdint>
#include <vector>

struct FilledArea {
    std::vector<Point2> points; // on the outline's grid
    // Closed loops of point indices around the filled area, which lies on their left (seen from +z,
    // y up): outer loops run counter-clockwise, loops around holes clockwise.
    std::vector<std::vector<uint32_t>> boundaries;
    // Counter-clockwise seen from +z; none of zero area.
    std::vector<std::array<uint32_t, 3>> triangles;
};

// Throws std::runtime_error when the tessellator reports a fault.
FilledArea FillOutline(const std::vector<Contour>& contours, bool evenOdd, const Grid& grid);
