// The fixed vector field that carries particles: a grid over world space [-10, 10]^3 and the
// transform from world to grid coordinates.
#pragma once

#include "Framework/Noise/NURBSVOLUME.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>
#include <thread>
#include <vector>

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

// BuildVortexField with its cells summed in the background: the constructor makes every draw of
// the construction (they belong to the shared sequence, whatever else draws next) and sets the
// field's transform, then leaves the cells to threadCount threads of their own; Finish, or the
// destructor, waits for them. Nothing may read the field's cells before Finish returns.
class VortexFieldBuild {
public:
    VortexFieldBuild(FlowField& field, unsigned threadCount);
    ~VortexFieldBuild();
    VortexFieldBuild(const VortexFieldBuild&) = delete;
    VortexFieldBuild& operator=(const VortexFieldBuild&) = delete;

    void Finish();

private:
    std::vector<std::thread> workers;
};
