// D3DX's textures from image files in memory, on a device: the image decoded with its mip chain
// (TextureLevels.h) and copied level by level, through LockRect, into a new texture. This layer
// keeps the file's size and makes D3DFMT_A8R8G8B8 textures; it takes the arguments the engine
// passes and refuses other values with D3DERR_INVALIDCALL rather than ignore them.
#pragma once

#include "Platform/D3DX/D3DXFilter.h"
#include "Platform/Gfx/Direct3D9.h"

// D3DX 9's markers: take the size and format from the file.
constexpr UINT D3DX_DEFAULT_NONPOW2 = 0xFFFFFFFEu;
constexpr D3DFORMAT D3DFMT_FROM_FILE = static_cast<D3DFORMAT>(0xFFFFFFFDu);

enum D3DXIMAGE_FILEFORMAT : uint32_t { D3DXIFF_UNKNOWN = 0xFFFFFFFFu };

struct D3DXIMAGE_INFO {
    UINT Width = 0;
    UINT Height = 0;
    UINT Depth = 0;
    UINT MipLevels = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    D3DRESOURCETYPE ResourceType = D3DRTYPE_TEXTURE;
    D3DXIMAGE_FILEFORMAT ImageFileFormat = D3DXIFF_UNKNOWN;
};

struct PALETTEENTRY {
    BYTE peRed, peGreen, peBlue, peFlags;
};

// Width and Height: D3DX_DEFAULT, D3DX_DEFAULT_NONPOW2 or 0 (the file's size). MipLevels: 0 or
// D3DX_DEFAULT for the whole chain, else at most that many levels. A MipFilter of
// D3DX_FILTER_NONE gives one level, any other the box-filtered chain; Filter is not used, since
// the image is never resized. Format: D3DFMT_FROM_FILE, D3DFMT_UNKNOWN or D3DFMT_A8R8G8B8. Usage
// 0, no colour key, no palette. pSrcInfo, when given, receives the file's size and the levels
// made. D3DXERR_INVALIDDATA for data that is no image (or too large an image); a failure of the
// device is passed on.
HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataSize,
                                            UINT Width, UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            IDirect3DTexture9** ppTexture);

// A managed cube texture from an image holding the six faces (CubeFaces.h), each with its whole
// chain.
HRESULT D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* pDevice, const void* pSrcData, UINT SrcDataSize,
                                              IDirect3DCubeTexture9** ppCubeTexture);
