#include "Platform/D3DX/D3DXMesh.h"

#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/XMeshLoader.h"

#include <cstring>
#include <limits>
#include <new>
#include <optional>

namespace {

D3DCOLORVALUE Colour(const float (&rgba)[4])
{
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// The material buffer: the file's materials as D3DMATERIAL9, member by member; null on failure.
ID3DXBuffer* MaterialBuffer(const std::vector<XMeshMaterial>& materials)
{
    ID3DXBuffer* buffer = nullptr;
    if (FAILED(D3DXCreateBuffer(static_cast<DWORD>(materials.size() * sizeof(D3DXMATERIAL)), &buffer)))
        return nullptr;
    auto* entries = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
    for (size_t i = 0; i < materials.size(); ++i) {
        const XMeshMaterial& material = materials[i];
        entries[i].MatD3D = {Colour(material.diffuse), Colour(material.ambient), Colour(material.specular),
                             Colour(material.emissive), material.power};
        entries[i].pTextureFilename = nullptr;
    }
    return buffer;
}

std::optional<XMesh> Decode(const void* memory, DWORD size, HRESULT& result)
{
    try {
        return LoadXMesh(memory, size);
    } catch (const D3DXDataError&) {
        result = D3DXERR_INVALIDDATA;
    } catch (const std::bad_alloc&) {
        result = E_OUTOFMEMORY;
    }
    return std::nullopt;
}

} // namespace

HRESULT D3DXLoadMeshFromXInMemory(const void* Memory, DWORD SizeOfMemory, DWORD Options,
                                  IDirect3DDevice9* pD3DDevice, ID3DXBuffer** ppAdjacency,
                                  ID3DXBuffer** ppMaterials, ID3DXBuffer** ppEffectInstances,
                                  DWORD* pNumMaterials, ID3DXMesh** ppMesh)
{
    const bool bothPoolsAgree = (Options & D3DXMESH_MANAGED) == 0 || (Options & D3DXMESH_MANAGED) == D3DXMESH_MANAGED;
    if (!Memory || SizeOfMemory == 0 || !pD3DDevice || ppAdjacency || ppEffectInstances || !ppMesh ||
        (Options & ~(D3DXMESH_32BIT | D3DXMESH_MANAGED)) != 0 || !bothPoolsAgree)
        return D3DERR_INVALIDCALL;
    *ppMesh = nullptr;
    if (ppMaterials)
        *ppMaterials = nullptr;

    HRESULT result = D3D_OK;
    const std::optional<XMesh> mesh = Decode(Memory, SizeOfMemory, result);
    if (!mesh)
        return result;
    if (!(Options & D3DXMESH_32BIT) && mesh->vertices.size() > std::numeric_limits<uint16_t>::max())
        return D3DERR_INVALIDCALL;

    ID3DXBuffer* materials = nullptr;
    if (ppMaterials && !(materials = MaterialBuffer(mesh->materials)))
        return E_OUTOFMEMORY;
    ID3DXMesh* made = ID3DXMesh::Create(*pD3DDevice, *mesh, Options, result);
    if (!made) {
        if (materials)
            materials->Release();
        return result;
    }
    *ppMesh = made;
    if (ppMaterials)
        *ppMaterials = materials;
    if (pNumMaterials)
        *pNumMaterials = static_cast<DWORD>(mesh->materials.size());
    return D3D_OK;
}
