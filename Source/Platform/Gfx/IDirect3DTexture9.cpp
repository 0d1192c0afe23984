#include "Platform/Gfx/IDirect3DTexture9.h"

#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/MipChain.h"

IDirect3DTexture9::IDirect3DTexture9(IDirect3DDevice9& device, UINT width, UINT height, UINT levels, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool)
    : IDirect3DBaseTexture9(device, D3DRTYPE_TEXTURE, levels, usage, format, pool)
{
    for (UINT level = 0; level < levels; ++level) {
        D3DSURFACE_DESC desc;
        desc.Format = format;
        desc.Usage = usage;
        desc.Pool = pool;
        desc.Width = MipExtent(width, level);
        desc.Height = MipExtent(height, level);
        levels_.push_back(std::make_unique<IDirect3DSurface9>(*this, desc, level, D3DCUBEMAP_FACE_POSITIVE_X));
    }
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc)
{
    if (Level >= levels_.size()) {
        return Device().Refuse("GetLevelDesc", FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->GetDesc(pDesc);
}

HRESULT IDirect3DTexture9::GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel)
{
    if (Level >= levels_.size()) {
        return Device().Refuse("GetSurfaceLevel", FrontCheck::LevelOutOfRange);
    }
    if (!ppSurfaceLevel) {
        return Device().Refuse("GetSurfaceLevel", FrontCheck::NullPointer);
    }
    levels_[Level]->AddRef();
    *ppSurfaceLevel = levels_[Level].get();
    return D3D_OK;
}

HRESULT IDirect3DTexture9::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags)
{
    if (Level >= levels_.size()) {
        return Device().Refuse(Op::LockRect, FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->LockRect(pLockedRect, pRect, Flags);
}

HRESULT IDirect3DTexture9::UnlockRect(UINT Level)
{
    if (Level >= levels_.size()) {
        return Device().Refuse(Op::UnlockRect, FrontCheck::LevelOutOfRange);
    }
    return levels_[Level]->UnlockRect();
}
