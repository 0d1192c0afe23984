// A cube texture: six faces (+X, -X, +Y, -Y, +Z, -Z), each a chain of square level surfaces.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DSurface9.h"

class IDirect3DCubeTexture9 : public IDirect3DBaseTexture9 {
public:
    // levels: the resolved count, at least 1.
    IDirect3DCubeTexture9(IDirect3DDevice9& device, UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool);

    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc);
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES FaceType, UINT Level, IDirect3DSurface9** ppCubeMapSurface);
    HRESULT LockRect(D3DCUBEMAP_FACES FaceType, UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                     DWORD Flags);
    HRESULT UnlockRect(D3DCUBEMAP_FACES FaceType, UINT Level);

    // For backends: level `level` of face `face`.
    IDirect3DSurface9& FaceSurface(D3DCUBEMAP_FACES face, UINT level) const { return *faces_[face][level]; }

private:
    IDirect3DSurface9* Find(D3DCUBEMAP_FACES face, UINT level) const;

    std::array<std::vector<std::unique_ptr<IDirect3DSurface9>>, 6> faces_;
};
