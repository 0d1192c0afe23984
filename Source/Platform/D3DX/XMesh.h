// A ".x" mesh as D3DXLoadMeshFromXInMemory hands it over (with D3DXMESH_32BIT), before it goes into
// device buffers: one vertex layout, 32-bit indices of a triangle list, the material list in file
// order and one subset (attribute range) per material.
//
// Vertex layout, 32 bytes, one stream: POSITION0 float3 at 0, NORMAL0 float3 at 12, TEXCOORD0
// float2 at 24 (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1). Positions, normals and texture
// coordinates are the file's own: its handedness, its face winding (corner order), v = 0 at the top
// of a texture. Normals are normalised; a mesh without normals gets (0, 0, 0), one without
// texture coordinates (0, 0). Faces of more than three corners become fans (0, i, i + 1).
#pragma once

#include "Platform/Gfx/VertexElements.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct XMeshVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};
static_assert(sizeof(XMeshVertex) == 32, "the vertex layout is 32 tightly packed bytes");

// XMeshVertex as a vertex declaration, closed by D3DDECL_END().
constexpr std::array<D3DVERTEXELEMENT9, 4> XMeshVertexDeclaration = {{
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
}};
static_assert(XMeshVertexDeclaration[0].Offset == offsetof(XMeshVertex, position) &&
              XMeshVertexDeclaration[1].Offset == offsetof(XMeshVertex, normal) &&
              XMeshVertexDeclaration[2].Offset == offsetof(XMeshVertex, texCoord) &&
              XMeshVertexDeclaration[2].Offset + DeclTypeSize(XMeshVertexDeclaration[2].Type) == sizeof(XMeshVertex),
              "the declaration describes XMeshVertex");

// The colours of a Direct3D 9 material (D3DMATERIAL9's members in its order), each r, g, b, a.
struct XMeshMaterial {
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float emissive[4];
    float power;
};

// A D3DXATTRIBUTERANGE: subset attribId draws faceCount triangles from faceStart (indices
// 3 * faceStart on), which use the vertices [vertexStart, vertexStart + vertexCount).
struct XMeshSubset {
    uint32_t attribId;
    uint32_t faceStart;
    uint32_t faceCount;
    uint32_t vertexStart;
    uint32_t vertexCount;
};

struct XMesh {
    std::vector<XMeshVertex> vertices;
    std::vector<uint32_t> indices;         // three per triangle, subset by subset
    std::vector<XMeshMaterial> materials;  // materials[i] belongs to subsets[i]
    std::vector<XMeshSubset> subsets;      // one per material, attribId i, in order (a subset may be empty)
};
