#include "Modules/ParticleDance/NeighbourGrid.h"

#include "Framework/FrameworkEx.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

int AxisCell(float coordinate, float originCoordinate, int n)
{
    constexpr float cellSize = NeighbourGrid::cellSize;
    float e = coordinate - originCoordinate;
    // Written so that NaN, too, lands in the first cell rather than in an undefined index.
    if (!(e >= 0.0f))
        e = 0.0f;
    if (e >= cellSize * static_cast<float>(n))
        e = (static_cast<float>(n) - 0.1f) * cellSize;
    const int i = static_cast<int>(std::floor(e * (1.0f / cellSize)));
    // Rounding of the product must not carry a point past the last cell.
    return std::min(i, n - 1);
}

} // namespace

NeighbourGrid::NeighbourGrid(int maxParticles)
{
    // Particle indices and runs of entries are 16-bit.
    if (maxParticles < 1 || maxParticles > std::numeric_limits<uint16_t>::max())
        throw FrameworkEx("[NeighbourGrid::NeighbourGrid] A grid holds 1 to 65535 particles, not " +
                          std::to_string(maxParticles));
    cells.resize(CellCount);
    entries.resize(static_cast<size_t>(maxParticles));
    occupied.reserve(static_cast<size_t>(maxParticles));
}

int NeighbourGrid::CellOf(const D3DXVECTOR3& point)
{
    const int ix = AxisCell(point.x, origin.x, nx);
    const int iy = AxisCell(point.y, origin.y, ny);
    const int iz = AxisCell(point.z, origin.z, nz);
    return nx * (ny * iz + iy) + ix;
}

int NeighbourGrid::Neighbour(int cell, int dx, int dy, int dz)
{
    return std::clamp(cell + dz * nx * ny + dy * nx + dx, 0, CellCount - 1);
}

void NeighbourGrid::Fill(std::span<const int32_t> cellOfParticle)
{
    if (cellOfParticle.size() > entries.size())
        throw FrameworkEx("[NeighbourGrid::Fill] " + std::to_string(cellOfParticle.size()) +
                          " particles in a grid made for " + std::to_string(entries.size()));
    for (const int32_t cell : occupied)
        cells[static_cast<size_t>(cell)] = {};
    occupied.clear();

    // Count every cell's particles, noting each cell the first time it is met; a cell noted is
    // emptied by the next Fill even when this one stops at a bad cell.
    for (size_t particle = 0; particle < cellOfParticle.size(); ++particle) {
        const int32_t cell = cellOfParticle[particle];
        if (cell < 0 || cell >= CellCount)
            throw FrameworkEx("[NeighbourGrid::Fill] Particle " + std::to_string(particle) + " is in cell " +
                              std::to_string(cell) + ", outside the grid's " + std::to_string(CellCount));
        if (cells[static_cast<size_t>(cell)].count++ == 0)
            occupied.push_back(cell);
    }

    // Each cell gets its run of entries, then the particles go in, in order, while there is room.
    uint16_t next = 0;
    for (const int32_t cell : occupied) {
        CellRange& range = cells[static_cast<size_t>(cell)];
        range.first = next;
        next = static_cast<uint16_t>(next + std::min<int>(range.count, MaxPerCell));
        range.count = 0;
    }
    for (size_t particle = 0; particle < cellOfParticle.size(); ++particle) {
        CellRange& range = cells[static_cast<size_t>(cellOfParticle[particle])];
        if (range.count < MaxPerCell)
            entries[range.first + range.count++] = static_cast<uint16_t>(particle);
    }
}
