// Where the point lights land on the picture, so that each is added only to the pixels it can
// reach: a light lights surfaces within its radius alone, and those all lie inside the rectangle
// its sphere covers on the screen. The picture is cut into tiles, each listing the lights whose
// rectangles reach it.
#pragma once

#include "Modules/PostEffects/detail/LensPlanes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace postfx::detail {

// Pixels [left, right) x [top, bottom) of a picture, rows counted from its top.
struct PixelRect {
    uint32_t left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    bool Overlaps(const PixelRect& other) const
    {
        return !Empty() && !other.Empty() && left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
};

// The pixels of a width x height picture whose centres may see the view-space sphere, through a
// lens whose far plane is farPlane: the whole picture for a sphere that reaches the plane of the
// eye, nothing for one wholly behind it.
PixelRect SphereFootprint(const PlaneExtents& farPlane, const D3DXVECTOR3& centre, float radius, uint32_t width,
                          uint32_t height);

struct LightTile {
    PixelRect area;
    std::vector<size_t> lights; // indices into the footprints
};

// The picture cut into tiles of tileSize pixels a side (smaller at its right and bottom edges),
// each with the lights whose footprints overlap it, in their order; tiles no light reaches are
// left out.
std::vector<LightTile> PlanLightTiles(std::span<const PixelRect> footprints, uint32_t width, uint32_t height,
                                      uint32_t tileSize);

} // namespace postfx::detail
