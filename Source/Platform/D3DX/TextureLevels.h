// Textures made from image files in memory, level by level, as D3DX makes them for a managed
// texture with a full mip chain: level 0 is the decoded image (D3DFMT_A8R8G8B8, see CpuImage), each
// further level box-filtered from the one above down to 1x1 (see MipChain). Sizes are kept as the
// file gives them; nothing is rounded up to a power of two.
#pragma once

#include "Platform/D3DX/CpuImage.h"
#include "Platform/D3DX/CubeFaces.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// A 2D texture. A mip filter of D3DX_FILTER_NONE means no filtering and no mips: level 0 only.
// Any other filter (D3DX_DEFAULT included) gives the full, box-filtered chain.
// Throws D3DXDataError (see DecodeImage).
std::vector<CpuImage> LoadTextureLevels(const void* data, size_t size, uint32_t mipFilter);

// A cube texture from the layout of CubeFaces.h, each face with its full chain, indexed by
// D3DCUBEMAP_FACES. Throws D3DXDataError.
std::array<std::vector<CpuImage>, CubeFaceCount> LoadCubeTextureLevels(const void* data, size_t size);
