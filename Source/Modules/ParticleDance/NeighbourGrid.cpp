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
    // Particle indices and positions in the entries are 16-bit.
    if (maxParticles < 1 || maxParticles > std::numeric_limits<uint16_t>::max())
        throw FrameworkEx("[NeighbourGrid::NeighbourGrid] A grid holds 1 to 65535 particles, not " +
                          std::to_string(maxParticles));
    counts.resize(CellCount);
    starts.resize(CellCount + 1);
    entries.resize(static_cast<size_t>(maxParticles));
}

int NeighbourGrid::CellOf(const D3DXVECTOR3& point)
{
    const int ix = AxisCell(point.x, origin.x, nx);
    const int iy = AxisCell(point.y, origin.y, ny);
    const int iz = AxisCell(point.z, origin.z, nz);
    return nx * (ny * iz + iy) + ix;
}

void NeighbourGrid::Fill(std::span<const int32_t> cellOfParticle)
{
    if (cellOfParticle.size() > entries.size())
        throw FrameworkEx("[NeighbourGrid::Fill] " + std::to_string(cellOfParticle.size()) +
                          " particles in a grid made for " + std::to_string(entries.size()));
    // Checked whole first, so that a refused fill leaves the grid as it was.
    for (size_t particle = 0; particle < cellOfParticle.size(); ++particle)
        if (cellOfParticle[particle] < 0 || cellOfParticle[particle] >= CellCount)
            throw FrameworkEx("[NeighbourGrid::Fill] Particle " + std::to_string(particle) + " is in cell " +
                              std::to_string(cellOfParticle[particle]) + ", outside the grid's " +
                              std::to_string(CellCount));

    // The counts are all 0 between fills: the last loop takes each back down as it places.
    for (const int32_t cell : cellOfParticle)
        ++counts[static_cast<size_t>(cell)];
    uint16_t next = 0;
    for (size_t cell = 0; cell < counts.size(); ++cell) {
        starts[cell] = next;
        next = static_cast<uint16_t>(next + std::min<int>(counts[cell], MaxPerCell));
    }
    starts[counts.size()] = next;
    // From the last particle back, each takes the place of its rank in its cell; ranks from
    // MaxPerCell on find no room.
    for (size_t particle = cellOfParticle.size(); particle-- > 0;) {
        const auto cell = static_cast<size_t>(cellOfParticle[particle]);
        const uint16_t rank = --counts[cell];
        if (rank < MaxPerCell)
            entries[starts[cell] + rank] = static_cast<uint16_t>(particle);
    }
}
