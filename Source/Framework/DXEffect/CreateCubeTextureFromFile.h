// A managed cube texture from an image file in the archive holding the six faces (CubeFaces.h).
#pragma once

#include "Platform/D3DX/D3DXTexture.h"

#include <string>

// D3DERR_INVALIDCALL when the archive has no such entry; otherwise the texture creation's result.
HRESULT CreateCubeTextureFromFile(const std::string& path, IDirect3DCubeTexture9** cubeTexture);
