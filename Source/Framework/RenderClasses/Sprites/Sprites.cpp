#include "Framework/RenderClasses/Sprites/Sprites.h"

#include "Framework/DeviceCall.h"

#include <algorithm>

Sprites::Sprites(const std::string& animationName, unsigned spriteCount, int ringSize)
    : Quads(animationName, spriteCount, ringSize), spriteCount(spriteCount)
{
}

void Sprites::WriteCorners(D3DXVECTOR3* normals, unsigned sprite, float w, float h)
{
    D3DXVECTOR3* corner = normals + VerticesPerQuad * sprite;
    corner[0] = {-w, h, 0.0f};
    corner[1] = {w, h, 0.0f};
    corner[2] = {w, -h, 0.0f};
    corner[3] = {-w, -h, 0.0f};
}

D3DXVECTOR3* Sprites::LockNormalsChecked(DWORD flags)
{
    void* normals = nullptr;
    if (!DEVICE_CALL(normalBuffer->Lock(0, 0, &normals, flags)))
        return nullptr;
    return static_cast<D3DXVECTOR3*>(normals);
}

void Sprites::SetUniformSize(float h)
{
    D3DXVECTOR3* normals = LockNormalsChecked(D3DLOCK_DISCARD);
    if (!normals)
        return;
    for (unsigned sprite = 0; sprite < spriteCount; ++sprite)
        WriteCorners(normals, sprite, h, h);
    DEVICE_CALL(normalBuffer->Unlock());
}

void Sprites::SetSizes(const D3DXVECTOR2* sizes)
{
    D3DXVECTOR3* normals = LockNormalsChecked(0);
    if (!normals)
        return;
    for (unsigned sprite = 0; sprite < spriteCount; ++sprite)
        WriteCorners(normals, sprite, sizes[sprite].x, sizes[sprite].y);
    DEVICE_CALL(normalBuffer->Unlock());
}

HRESULT Sprites::SetCentres(const D3DXVECTOR3* centres, unsigned count)
{
    if (count > spriteCount)
        return E_FAIL;
    activeQuads = count;
    D3DXVECTOR3* positions = nullptr;
    if (const HRESULT hr = LockPositions(&positions); FAILED(hr))
        return hr;
    for (unsigned sprite = 0; sprite < count; ++sprite)
        std::fill_n(positions + VerticesPerQuad * sprite, VerticesPerQuad, centres[sprite]);
    return UnlockPositions();
}
