// A 2D texture: a chain of level surfaces, each half the size of the one before.
#pragma once

#include <memory>
#include <vector>

#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DSurface9.h"

class IDirect3DTexture9 : public IDirect3DBaseTexture9 {
public:
    // levels: the resolved count, at least 1.
    IDirect3DTexture9(IDirect3DDevice9& device, UINT width, UINT height, UINT levels, DWORD usage,
                      D3DFORMAT format, D3DPOOL pool);

    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc);
    HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel);
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags);
    HRESULT UnlockRect(UINT Level);

    // For backends: level `level` (< GetLevelCount()).
    IDirect3DSurface9& LevelSurface(UINT level) const { return *levels_[level]; }

private:
    std::vector<std::unique_ptr<IDirect3DSurface9>> levels_;
};
