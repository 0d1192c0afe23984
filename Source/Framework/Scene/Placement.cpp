#include "Framework/Scene/Placement.h"

D3DXMATRIX EulerRotation(const D3DXVECTOR3& angles)
{
    D3DXMATRIX rotation, aboutY, aboutZ;
    D3DXMatrixRotationX(&rotation, angles.x);
    D3DXMatrixRotationY(&aboutY, angles.y);
    D3DXMatrixRotationZ(&aboutZ, angles.z);
    D3DXMatrixMultiply(&rotation, &rotation, &aboutY);
    D3DXMatrixMultiply(&rotation, &rotation, &aboutZ);
    return rotation;
}

void PlacementMatrices(const D3DXMATRIX& rotation, const D3DXVECTOR3& position, D3DXMATRIX& view, D3DXMATRIX& world)
{
    D3DXMATRIX translation, inverseRotation;
    D3DXMatrixTranspose(&inverseRotation, &rotation);
    D3DXMatrixTranslation(&translation, -position.x, -position.y, -position.z);
    D3DXMatrixMultiply(&view, &translation, &inverseRotation);
    D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
    D3DXMatrixMultiply(&world, &rotation, &translation);
}
