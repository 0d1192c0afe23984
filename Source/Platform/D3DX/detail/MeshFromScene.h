// Turns the scene assimp made of a checked ".x" file (its conversions undone) into an XMesh.
#pragma once

#include "Platform/D3DX/XMesh.h"
#include "Platform/D3DX/detail/XFileCheck.h"

struct aiScene;

namespace d3dx::detail {

// Throws D3DXDataError when the scene does not hold what the check found in the file, or when a
// coordinate is not a finite number.
XMesh MeshFromScene(const aiScene& scene, const XFileSummary& file);

} // namespace d3dx::detail
