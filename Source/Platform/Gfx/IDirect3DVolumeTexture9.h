// A volume texture: a chain of level volumes, each half the size of the one before in every
// direction.
#pragma once

#include <memory>
#include <vector>

#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DVolume9.h"

class IDirect3DVolumeTexture9 : public IDirect3DBaseTexture9 {
public:
    // levels: the resolved count, at least 1.
    IDirect3DVolumeTexture9(IDirect3DDevice9& device, UINT width, UINT height, UINT depth, UINT levels,
                            DWORD usage, D3DFORMAT format, D3DPOOL pool);

    HRESULT GetLevelDesc(UINT Level, D3DVOLUME_DESC* pDesc);
    HRESULT GetVolumeLevel(UINT Level, IDirect3DVolume9** ppVolumeLevel);
    HRESULT LockBox(UINT Level, D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox, DWORD Flags);
    HRESULT UnlockBox(UINT Level);

    // For backends: level `level` (< GetLevelCount()).
    IDirect3DVolume9& LevelVolume(UINT level) const { return *levels_[level]; }

private:
    std::vector<std::unique_ptr<IDirect3DVolume9>> levels_;
};
