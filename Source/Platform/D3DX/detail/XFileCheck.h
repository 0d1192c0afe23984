// A complete check of a text ".x" file before assimp sees it. assimp's ".x" reader trusts the
// indices it reads (a face index equal to the vertex count, an unchecked normal or skin-weight
// index, a material list without materials all make it read or write out of bounds) and sizes
// its arrays by counts it has not yet seen backed by data. This check walks the file the way
// assimp's reader does, object by object, and refuses anything it cannot vouch for, so that what
// reaches assimp is well-formed and every index in it is in range.
//
// Accepted: templates, frames (nested at most MaxFrameDepth deep) with their transform
// matrices, exactly one Mesh with its MeshNormals, MeshTextureCoords and MeshMaterialList
// (materials given in place), and objects of other kinds, which are skipped. Refused: binary and
// compressed files, a second mesh, vertex colours, skinning, animations, materials outside the
// mesh and references to them, and the faults D3DX itself refuses (faces of fewer than three
// corners, counts that do not match, indices out of range).
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dx::detail {

constexpr unsigned MaxFrameDepth = 32;

// What the check found out about the file's one mesh.
struct XFileSummary {
    uint32_t vertexCount = 0;
    uint32_t faceCount = 0;
    uint32_t materialCount = 0; // 0 when the mesh has no material list
    bool hasNormals = false;
    bool hasTextureCoords = false;
};

// Throws D3DXDataError with the line and the fault.
XFileSummary CheckXFile(const char* data, size_t size);

} // namespace d3dx::detail
