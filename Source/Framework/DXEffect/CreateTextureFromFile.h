// A managed 2D texture from an image file in the archive, with the given D3DX filters: a mip
// filter of D3DX_FILTER_NONE gives one level, any other the full chain.
#pragma once

#include "Platform/D3DX/D3DXTexture.h"

#include <string>

// D3DERR_INVALIDCALL when the archive has no such entry; otherwise the texture creation's result.
HRESULT CreateTextureFromFile(const std::string& path, DWORD filter, DWORD mipFilter, IDirect3DTexture9** texture);
