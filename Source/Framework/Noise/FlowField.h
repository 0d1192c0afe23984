// The fixed vector field that carries particles: a grid over world space [-10, 10]^3 and the
// transform from world to grid coordinates.
#pragma once

#include "Framework/Noise/NURBSVOLUME.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>

struct FlowField {
    // Identity transform over a 2 x 2 x 2 grid until BuildVortexField replaces it.
    FlowField();

    // The force at a world point: the nearest cell, clamped to the grid.
    D3DXVECTOR3 Sample(const D3DXVECTOR3& worldPoint) const;

    D3DXMATRIX worldToGrid;
    uint32_t size = 1;
    std::unique_ptr<NURBSVOLUME> grid;
};

// Rebuilds the field: 61^3 cells of 60 seeded vortices, a random drift and a pull to the z axis.
// Reseeds CrtRand and draws from it in a fixed order. The cells are summed on one thread per core,
// or on threadCount threads; any count gives the same bits.
void BuildVortexField(FlowField& field);
void BuildVortexField(FlowField& field, unsigned threadCount);
