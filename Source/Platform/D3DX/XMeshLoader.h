// ".x" meshes from memory through assimp, as D3DX loads them: the file's own coordinates, winding
// and texture coordinates (assimp's conversion to its right-handed form is undone), the frames'
// transforms applied, materials in file order with their texture names ignored, one subset per
// material. A file without a material list gets D3DX's default material (diffuse and specular
// 0.5 grey) for all its faces.
//
// Only text files holding one mesh are read; XFileCheck (detail/) lists what else is refused and
// why. Files larger than MaxXFileSize are refused.
#pragma once

#include "Platform/D3DX/XMesh.h"

#include <cstddef>

constexpr size_t MaxXFileSize = 16 * 1024 * 1024;

// Throws D3DXDataError with the reason: the line and fault this loader found, or assimp's own.
XMesh LoadXMesh(const void* data, size_t size);
