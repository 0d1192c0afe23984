// Checks of resource creation arguments, as Direct3D makes them before any memory is taken. Each
// answers the check that fails, or nothing.
#pragma once

#include <optional>
#include <vector>

#include "Platform/Gfx/GfxTypes.h"

// For 2D, cube and volume textures (type D3DRTYPE_TEXTURE, D3DRTYPE_CUBETEXTURE or
// D3DRTYPE_VOLUMETEXTURE; cube textures pass the edge as width and height, 2D ones a depth of 1).
// On success levels holds the level count, 0 having become the whole chain.
std::optional<FrontCheck> CheckTextureCreation(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth, UINT& levels,
                                               DWORD usage, D3DFORMAT format, D3DPOOL pool);

std::optional<FrontCheck> CheckDepthStencilCreation(UINT width, UINT height, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample);

std::optional<FrontCheck> CheckBufferCreation(UINT length, DWORD usage, D3DPOOL pool);

// Reads the elements up to D3DDECL_END into elements (without the end marker). Refuses a list
// without an end within MAXD3DDECLLENGTH elements, unknown types, usages or methods, offsets that
// are not a multiple of 4, streams beyond the last and a usage with the same index twice.
std::optional<FrontCheck> CheckVertexElements(const D3DVERTEXELEMENT9* list,
                                              std::vector<D3DVERTEXELEMENT9>& elements);
