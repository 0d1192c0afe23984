// The camera matrices that drawing an object combines with the object's world matrices: the
// active camera's view, view-projection and view-projection of 1/60 s earlier.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

struct CameraMatrices {
    D3DXMATRIX view = IdentityMatrix();
    D3DXMATRIX viewProjection = IdentityMatrix();
    D3DXMATRIX previousViewProjection = IdentityMatrix();
};
