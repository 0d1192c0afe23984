#include "Framework/Noise/NURBSVOLUME.h"

#include "Framework/FrameworkEx.h"
#include "Platform/ClampToInteger.h"

#include <cmath>

namespace {

// Negative coordinates (and NaN) read the first cell, ones beyond the last the last.
uint32_t ClampedIndex(float coordinate, uint32_t count)
{
    return ClampToInteger(std::floor(coordinate), 0u, count - 1);
}

} // namespace

NURBSVOLUME::NURBSVOLUME(uint16_t xCount, uint16_t yCount, uint16_t zCount)
    : xCount(xCount), yCount(yCount), zCount(zCount)
{
    if (xCount < 2 || yCount < 2 || zCount < 2)
        throw FrameworkEx("[NURBSVOLUME::NURBSVOLUME] Grid size too small");
    cells.assign(size_t(xCount) * yCount * zCount, D3DXVECTOR3{});
}

D3DXVECTOR3 NURBSVOLUME::SampleNearest(const D3DXVECTOR3& point) const
{
    const uint32_t ix = ClampedIndex(point.x, xCount);
    const uint32_t iy = ClampedIndex(point.y, yCount);
    const uint32_t iz = ClampedIndex(point.z, zCount);
    return cells[ix + xCount * (iy + yCount * iz)];
}
