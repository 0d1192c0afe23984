// A level of a volume texture: a box of texels locked as rows and slices. A part of its texture:
// its references go to the texture.
#pragma once

#include "Platform/Gfx/DeviceChild.h"

class IDirect3DVolume9 : public DeviceChild {
public:
    IDirect3DVolume9(IDirect3DVolumeTexture9& container, const D3DVOLUME_DESC& desc, UINT level);
    ~IDirect3DVolume9() override = default;

    HRESULT GetDesc(D3DVOLUME_DESC* pDesc);
    HRESULT LockBox(D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox, DWORD Flags);
    HRESULT UnlockBox();

    const D3DVOLUME_DESC& Desc() const { return desc_; }
    IDirect3DVolumeTexture9& Container() const { return container_; }
    UINT Level() const { return level_; }
    bool Locked() const { return locked_; }

private:
    D3DVOLUME_DESC desc_;
    IDirect3DVolumeTexture9& container_;
    UINT level_;
    bool locked_ = false;
};
