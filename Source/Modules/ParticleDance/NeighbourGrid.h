// The uniform grid through which the dance finds each particle's neighbours: cubes of 0.3 units
// (the interaction radius) over [-6, 6] on every axis, each listing up to 500 particles in the
// order they were added. Points outside the grid fall into its border cells.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <cstdint>
#include <span>
#include <vector>

class NeighbourGrid {
public:
    static constexpr float cellSize = 0.3f;
    static constexpr D3DXVECTOR3 origin{-6.0f, -6.0f, -6.0f};
    // 12 units of cellSize, plus one: 1 - trunc(12 * -1/cellSize).
    static constexpr uint16_t nx = 40, ny = 40, nz = 40;
    static constexpr int CellCount = nx * ny * nz;
    static constexpr int MaxPerCell = 500;

    // Room for up to maxParticles particles, all cells empty.
    explicit NeighbourGrid(int maxParticles);

    // nx * (ny * iz + iy) + ix of the cell holding point, clamped into the grid on every axis.
    static int CellOf(const D3DXVECTOR3& point);
    // The cell offset by (dx, dy, dz) cells, each in -1 .. 1, as a flat index clamped to
    // 0 .. CellCount - 1; no axis wraps on its own, so at the grid's faces a neighbour may be a
    // cell of another row or the clamped end cell.
    static int Neighbour(int cell, int dx, int dy, int dz)
    {
        const int offset = cell + dz * nx * ny + dy * nx + dx;
        return offset < 0 ? 0 : offset > CellCount - 1 ? CellCount - 1 : offset;
    }

    // Lists particle i in cell cellOfParticle[i] for every i, in the order of i, keeping the first
    // MaxPerCell of each cell; what the cells held before is forgotten. Throws FrameworkEx for more
    // particles than the grid has room for or a cell outside it.
    void Fill(std::span<const int32_t> cellOfParticle);
    // The particles listed in the cells first .. last (0 <= first <= last < CellCount), cell by
    // cell, each cell's in the order they were added. A row of neighbouring cells is one run.
    std::span<const uint16_t> Particles(int first, int last) const
    {
        const uint16_t begin = starts[static_cast<size_t>(first)];
        return {entries.data() + begin, static_cast<size_t>(starts[static_cast<size_t>(last) + 1] - begin)};
    }
    std::span<const uint16_t> Particles(int cell) const { return Particles(cell, cell); }

private:
    // All cells' particles in one array, cell after cell: cell c holds entries[starts[c] ..
    // starts[c + 1] - 1]. Three neighbouring cells of a row are then one stretch of entries, found
    // with two reads, instead of 64 000 fixed slots of 500 to look through cell by cell.
    std::vector<uint16_t> counts; // per cell, used while filling; all 0 between fills
    std::vector<uint16_t> starts;
    std::vector<uint16_t> entries;
};
