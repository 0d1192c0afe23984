#include "Platform/Gfx/IDirect3DCubeTexture9.h"

#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/MipChain.h"

IDirect3DCubeTexture9::IDirect3DCubeTexture9(IDirect3DDevice9& device, UINT edgeLength, UINT levels, DWORD usage,
                                             D3DFORMAT format, D3DPOOL pool)
    : IDirect3DBaseTexture9(device, D3DRTYPE_CUBETEXTURE, levels, usage, format, pool)
{
    for (UINT face = 0; face < faces_.size(); ++face) {
        for (UINT level = 0; level < levels; ++level) {
            D3DSURFACE_DESC desc;
            desc.Format = format;
            desc.Usage = usage;
            desc.Pool = pool;
            desc.Width = MipExtent(edgeLength, level);
            desc.Height = desc.Width;
            faces_[face].push_back(
                std::make_unique<IDirect3DSurface9>(*this, desc, level, static_cast<D3DCUBEMAP_FACES>(face)));
        }
    }
}

IDirect3DSurface9* IDirect3DCubeTexture9::Find(D3DCUBEMAP_FACES face, UINT level) const
{
    if (face >= faces_.size() || level >= faces_[face].size()) {
        return nullptr;
    }
    return faces_[face][level].get();
}

HRESULT IDirect3DCubeTexture9::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc)
{
    IDirect3DSurface9* surface = Find(D3DCUBEMAP_FACE_POSITIVE_X, Level);
    return surface ? surface->GetDesc(pDesc) : Device().Refuse("GetLevelDesc", FrontCheck::LevelOutOfRange);
}

HRESULT IDirect3DCubeTexture9::GetCubeMapSurface(D3DCUBEMAP_FACES FaceType, UINT Level,
                                                 IDirect3DSurface9** ppCubeMapSurface)
{
    IDirect3DSurface9* surface = Find(FaceType, Level);
    if (!surface) {
        return Device().Refuse("GetCubeMapSurface", FrontCheck::LevelOutOfRange);
    }
    if (!ppCubeMapSurface) {
        return Device().Refuse("GetCubeMapSurface", FrontCheck::NullPointer);
    }
    surface->AddRef();
    *ppCubeMapSurface = surface;
    return D3D_OK;
}

HRESULT IDirect3DCubeTexture9::LockRect(D3DCUBEMAP_FACES FaceType, UINT Level, D3DLOCKED_RECT* pLockedRect,
                                        const RECT* pRect, DWORD Flags)
{
    IDirect3DSurface9* surface = Find(FaceType, Level);
    return surface ? surface->LockRect(pLockedRect, pRect, Flags)
                   : Device().Refuse(Op::LockRect, FrontCheck::LevelOutOfRange);
}

HRESULT IDirect3DCubeTexture9::UnlockRect(D3DCUBEMAP_FACES FaceType, UINT Level)
{
    IDirect3DSurface9* surface = Find(FaceType, Level);
    return surface ? surface->UnlockRect() : Device().Refuse(Op::UnlockRect, FrontCheck::LevelOutOfRange);
}
