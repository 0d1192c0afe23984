// How cameras and spot lights are placed in the world: Euler angles turn them, a position moves
// them, and view and world matrices carry points between their space and the world.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

// The rotation about X, then Y, then Z (radians, row vectors): RotationX * RotationY * RotationZ.
D3DXMATRIX EulerRotation(const D3DXVECTOR3& angles);

// world = rotation * Translation(position); view = Translation(-position) * transpose(rotation),
// its inverse, as rotation is orthonormal.
void PlacementMatrices(const D3DXMATRIX& rotation, const D3DXVECTOR3& position, D3DXMATRIX& view, D3DXMATRIX& world);
