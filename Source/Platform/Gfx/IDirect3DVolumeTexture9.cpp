#include "Platform/Gfx/IDirect3DVolumeTexture9.h"

#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/MipChain.h"

IDirect3DVolumeTexture9::IDirect3DVolumeTexture9(IDirect3DDevice9& device, UINT width, UINT height, UINT depth,
                                                 UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : IDirect3DBaseTexture9(device, D3DRTYPE_VOLUMETEXTURE, levels, usage, format, pool)
{
    for (UINT level = 0; level < levels; ++level) {
        D3DVOLUME_DESC desc;
        desc.Format = format;
        desc.Usage = usage;
        desc.Pool = pool;
        desc.Width = MipExtent(width, level);
        desc.Height = MipExtent(height, level);
        desc.Depth = MipExtent(depth, level);
        levels_.push_back(std::make_unique<IDirect3DVolume9>(*this, desc, level));
    }
}

HRESULT IDirect3DVolumeTexture9::GetLevelDesc(UINT Level, D3DVOLUME_DESC* pDesc)
{
    if (Level >= levels_.size()) {
        return Device().Refuse("GetLevelDesc", FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->GetDesc(pDesc);
}

HRESULT IDirect3DVolumeTexture9::GetVolumeLevel(UINT Level, IDirect3DVolume9** ppVolumeLevel)
{
    if (Level >= levels_.size()) {
        return Device().Refuse("GetVolumeLevel", FrontCheck::LevelOutOfRange);
    }
    if (!ppVolumeLevel) {
        return Device().Refuse("GetVolumeLevel", FrontCheck::NullPointer);
    }
    levels_[Level]->AddRef();
    *ppVolumeLevel = levels_[Level].get();
    return D3D_OK;
}

HRESULT IDirect3DVolumeTexture9::LockBox(UINT Level, D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox, DWORD Flags)
{
    if (Level >= levels_.size()) {
        return Device().Refuse(Op::LockBox, FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->LockBox(pLockedVolume, pBox, Flags);
}

HRESULT IDirect3DVolumeTexture9::UnlockBox(UINT Level)
{
    if (Level >= levels_.size()) {
        return Device().Refuse(Op::UnlockBox, FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->UnlockBox();
}
