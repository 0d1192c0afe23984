#include "Platform/D3DX/D3DXTexture.h"

#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/D3DXFilter.h"
#include "Platform/D3DX/TextureLevels.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

bool TakesFileSize(UINT extent)
{
    return extent == 0 || extent == D3DX_DEFAULT || extent == D3DX_DEFAULT_NONPOW2;
}

bool TakesA8R8G8B8(D3DFORMAT format)
{
    return format == D3DFMT_FROM_FILE || format == D3DFMT_UNKNOWN || format == D3DFMT_A8R8G8B8;
}

// Copies an image into a locked level, row by row, since the level's pitch may exceed the row.
template <class Lock, class Unlock>
HRESULT Upload(const CpuImage& image, Lock lock, Unlock unlock)
{
    D3DLOCKED_RECT locked;
    if (const HRESULT hr = lock(&locked); FAILED(hr))
        return hr;
    auto* destination = static_cast<unsigned char*>(locked.pBits);
    for (uint32_t y = 0; y < image.height; ++y)
        std::memcpy(destination + size_t(y) * locked.Pitch, image.Texel(0, y), image.Pitch());
    return unlock();
}

// Runs a creation that decodes, turning the decoder's refusals into D3DX's result codes.
template <class Create>
HRESULT Decoding(Create create)
{
    try {
        return create();
    } catch (const D3DXDataError&) {
        return D3DXERR_INVALIDDATA;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace

HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataSize,
                                            UINT Width, UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, DWORD, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            IDirect3DTexture9** ppTexture)
{
    if (!pDevice || !pSrcData || SrcDataSize == 0 || !ppTexture || !TakesFileSize(Width) || !TakesFileSize(Height) ||
        Usage != 0 || !TakesA8R8G8B8(Format) || ColorKey != 0 || pPalette)
        return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    return Decoding([&]() -> HRESULT {
        std::vector<CpuImage> levels = LoadTextureLevels(pSrcData, SrcDataSize, MipFilter);
        if (MipLevels != 0 && MipLevels != D3DX_DEFAULT && MipLevels < levels.size())
            levels.resize(MipLevels);
        IDirect3DTexture9* texture = nullptr;
        if (const HRESULT hr = pDevice->CreateTexture(levels[0].width, levels[0].height, UINT(levels.size()), 0,
                                                      D3DFMT_A8R8G8B8, Pool, &texture, nullptr);
            FAILED(hr))
            return hr;
        for (UINT level = 0; level < levels.size(); ++level) {
            const HRESULT hr = Upload(
                levels[level], [&](D3DLOCKED_RECT* locked) { return texture->LockRect(level, locked, nullptr, 0); },
                [&] { return texture->UnlockRect(level); });
            if (FAILED(hr)) {
                texture->Release();
                return hr;
            }
        }
        if (pSrcInfo)
            *pSrcInfo = D3DXIMAGE_INFO{levels[0].width, levels[0].height, 1, UINT(levels.size()), D3DFMT_A8R8G8B8,
                                       D3DRTYPE_TEXTURE, D3DXIFF_UNKNOWN};
        *ppTexture = texture;
        return D3D_OK;
    });
}

HRESULT D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataSize,
                                              IDirect3DCubeTexture9** ppCubeTexture)
{
    if (!pDevice || !pSrcData || SrcDataSize == 0 || !ppCubeTexture)
        return D3DERR_INVALIDCALL;
    *ppCubeTexture = nullptr;
    return Decoding([&]() -> HRESULT {
        const auto faces = LoadCubeTextureLevels(pSrcData, SrcDataSize);
        const UINT levels = UINT(faces[0].size());
        IDirect3DCubeTexture9* cube = nullptr;
        if (const HRESULT hr = pDevice->CreateCubeTexture(faces[0][0].width, levels, 0, D3DFMT_A8R8G8B8,
                                                          D3DPOOL_MANAGED, &cube, nullptr);
            FAILED(hr))
            return hr;
        for (UINT face = 0; face < CubeFaceCount; ++face) {
            const auto side = static_cast<D3DCUBEMAP_FACES>(face);
            for (UINT level = 0; level < levels; ++level) {
                const HRESULT hr = Upload(
                    faces[face][level],
                    [&](D3DLOCKED_RECT* locked) { return cube->LockRect(side, level, locked, nullptr, 0); },
                    [&] { return cube->UnlockRect(side, level); });
                if (FAILED(hr)) {
                    cube->Release();
                    return hr;
                }
            }
        }
        *ppCubeTexture = cube;
        return D3D_OK;
    });
}
