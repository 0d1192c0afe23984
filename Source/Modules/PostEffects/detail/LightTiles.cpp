#include "Modules/PostEffects/detail/LightTiles.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace postfx::detail {

namespace {

// The slopes (offset along an axis over depth) of the two lines from the eye that touch a circle
// of the given radius at that offset and depth, which lies wholly in front of the eye.
std::pair<double, double> TangentSlopes(double offset, double depth, double radius)
{
    const double spread = radius * std::sqrt(offset * offset + depth * depth - radius * radius);
    const double scale = depth * depth - radius * radius;
    return {(offset * depth - spread) / scale, (offset * depth + spread) / scale};
}

// From a coordinate in pixels to a whole pixel edge within [0, size], a pixel of margin outward
// for the rounding on either side.
uint32_t EdgeBelow(double pixels, uint32_t size)
{
    return static_cast<uint32_t>(std::clamp(std::floor(pixels) - 1.0, 0.0, double(size)));
}

uint32_t EdgeAbove(double pixels, uint32_t size)
{
    return static_cast<uint32_t>(std::clamp(std::ceil(pixels) + 1.0, 0.0, double(size)));
}

} // namespace

PixelRect SphereFootprint(const PlaneExtents& farPlane, const D3DXVECTOR3& centre, float radius, uint32_t width,
                          uint32_t height)
{
    const PixelRect whole{0, 0, width, height};
    const double depth = -double(centre.z);
    const double reach = radius;
    if (!(depth > -reach))
        return {};
    // Within a hair of the eye's plane the tangents run off to infinity.
    if (!(depth > reach * 1.001 + 1e-6))
        return whole;
    const auto [leftSlope, rightSlope] = TangentSlopes(centre.x, depth, reach);
    const auto [lowSlope, highSlope] = TangentSlopes(centre.y, depth, reach);
    // Slopes to the picture's edges: the far plane's half extents over its distance.
    const double slopeX = farPlane.halfWidth / farPlane.distance, slopeY = farPlane.halfHeight / farPlane.distance;
    const auto column = [&](double slope) { return (slope / slopeX + 1.0) * 0.5 * width; };
    const auto row = [&](double slope) { return (1.0 - slope / slopeY) * 0.5 * height; };
    return {EdgeBelow(column(leftSlope), width), EdgeBelow(row(highSlope), height), EdgeAbove(column(rightSlope), width),
            EdgeAbove(row(lowSlope), height)};
}

std::vector<LightTile> PlanLightTiles(std::span<const PixelRect> footprints, uint32_t width, uint32_t height,
                                      uint32_t tileSize)
{
    std::vector<LightTile> tiles;
    const uint32_t side = std::max(tileSize, 1u);
    for (uint32_t top = 0; top < height; top += side)
        for (uint32_t left = 0; left < width; left += side) {
            LightTile tile{{left, top, std::min(left + side, width), std::min(top + side, height)}, {}};
            for (size_t i = 0; i < footprints.size(); ++i)
                if (footprints[i].Overlaps(tile.area))
                    tile.lights.push_back(i);
            if (!tile.lights.empty())
                tiles.push_back(std::move(tile));
        }
    return tiles;
}

} // namespace postfx::detail
