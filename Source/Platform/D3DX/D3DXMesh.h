// D3DX's loading of ".x" meshes from memory onto a device (the file read by XMeshLoader.h).
#pragma once

#include "Platform/D3DX/ID3DXMesh.h"
#include "Platform/Fx/ID3DXBuffer.h"

// Mesh options: 32-bit indices, and the pool of the vertex and index buffers.
constexpr DWORD D3DXMESH_32BIT = 0x001;
constexpr DWORD D3DXMESH_VB_MANAGED = 0x020;
constexpr DWORD D3DXMESH_IB_MANAGED = 0x200;
constexpr DWORD D3DXMESH_MANAGED = D3DXMESH_VB_MANAGED | D3DXMESH_IB_MANAGED;

// One entry of the material buffer. pTextureFilename is always null: this layer does not keep the
// texture names a file's materials give.
struct D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    char* pTextureFilename = nullptr;
};

// Options: any of D3DXMESH_32BIT and D3DXMESH_MANAGED (both buffers managed, or both in the
// default pool). Without D3DXMESH_32BIT the indices are 16-bit, and a mesh of more than 65535
// vertices is refused (D3DERR_INVALIDCALL). Adjacency and effect instances are not made: their out pointers must be
// null. On success *ppMaterials (when asked for) holds *pNumMaterials D3DXMATERIAL entries in the
// file's order, material i belonging to subset i. D3DXERR_INVALIDDATA when the file is refused;
// D3DERR_INVALIDCALL for bad arguments; a failure of the device is passed on.
HRESULT D3DXLoadMeshFromXInMemory(const void* Memory, DWORD SizeOfMemory, DWORD Options,
                                  IDirect3DDevice9* pD3DDevice, ID3DXBuffer** ppAdjacency,
                                  ID3DXBuffer** ppMaterials, ID3DXBuffer** ppEffectInstances,
                                  DWORD* pNumMaterials, ID3DXMesh** ppMesh);
