// A dense 3D grid of 3-float vectors (x fastest, z slowest) with a clamped nearest-cell lookup.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <cstdint>
#include <vector>

class NURBSVOLUME {
public:
    // Every size must be at least 2; the cells start zeroed.
    NURBSVOLUME(uint16_t xCount, uint16_t yCount, uint16_t zCount);

    D3DXVECTOR3& Cell(uint32_t ix, uint32_t iy, uint32_t iz) { return cells[ix + xCount * (iy + yCount * iz)]; }

    // The cell holding a point in grid coordinates; points outside read the border cells.
    D3DXVECTOR3 SampleNearest(const D3DXVECTOR3& point) const;

    const uint32_t xCount, yCount, zCount;
    std::vector<D3DXVECTOR3> cells;
};
