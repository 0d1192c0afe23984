#include "Framework/DXMesh/DXMesh.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/ReleaseAndClear.h"

namespace {

constexpr DWORD MeshOptions = D3DXMESH_32BIT | D3DXMESH_MANAGED;

D3DXVECTOR4 Vector(const D3DCOLORVALUE& colour)
{
    return {colour.r, colour.g, colour.b, colour.a};
}

} // namespace

DXMesh::DXMesh(const std::string& animationName, int animationFlags) : BASERENDEROBJECT(animationName, animationFlags)
{
}

DXMesh::~DXMesh()
{
    ReleaseAndClear(mesh);
}

void DXMesh::LoadX(const std::string& name)
{
    // A second load replaces the first rather than mixing two files' materials.
    ReleaseAndClear(mesh);
    materials.clear();
    materialCount = 0;
    fileName = name;
    reload = ReloadHub::WatchIfLive({directory + name}, [this] { ReloadX(); });
    Read(name, mesh, materials);
    materialCount = static_cast<unsigned>(materials.size());
}

void DXMesh::ReloadX()
{
    ID3DXMesh* read = nullptr;
    std::vector<MeshMaterial> readMaterials;
    Read(fileName, read, readMaterials);
    ReleaseAndClear(mesh);
    mesh = read;
    materials = std::move(readMaterials);
    materialCount = static_cast<unsigned>(materials.size());
}

void DXMesh::Read(const std::string& fileName, ID3DXMesh*& read, std::vector<MeshMaterial>& readMaterials) const
{
    HRESULT result = D3DERR_INVALIDCALL;
    ID3DXBuffer* materialBuffer = nullptr;
    DWORD count = 0;
    if (const auto bytes = FileSys::Instance()->ReadAll(directory + fileName))
        result = D3DXLoadMeshFromXInMemory(bytes->data(), static_cast<DWORD>(bytes->size()), MeshOptions,
                                           DXFramework::device, nullptr, &materialBuffer, nullptr, &count, &read);
    if (FAILED(result))
        throw FrameworkEx("[DXMesh::LoadX]: failed to load \"" + fileName + "\".");

    const auto* loaded = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
    for (DWORD i = 0; i < count; ++i) {
        const D3DMATERIAL9& material = loaded[i].MatD3D;
        readMaterials.push_back({Vector(material.Diffuse), Vector(material.Ambient), Vector(material.Specular),
                             Vector(material.Emissive), material.Power, nullptr});
    }
    materialBuffer->Release();
}

void DXMesh::Draw()
{
    DXEffect* active = DXEffectHandler::GetActiveEffect();
    if (!active || !active->effect)
        throw FrameworkEx("[DXMesh::Draw] No effect set");
    ID3DXEffect& effect = *active->effect;
    for (unsigned i = 0; i < materialCount; ++i) {
        const MeshMaterial& material = materials[i];
        if (active->MATTEX)
            effect.SetTexture(active->MATTEX, material.texture);
        if (active->DIFFUSE)
            effect.SetVector(active->DIFFUSE, &material.diffuse);
        if (active->AMBIENT)
            effect.SetVector(active->AMBIENT, &material.ambient);
        DEVICE_CALL(effect.CommitChanges());
        DEVICE_CALL(mesh->DrawSubset(i));
    }
}

void DXMesh::SetMaterialDiffuse(const D3DXVECTOR4& colour)
{
    for (MeshMaterial& material : materials)
        material.diffuse = colour;
}

void DXMesh::SetMaterialAmbient(const D3DXVECTOR4& colour)
{
    for (MeshMaterial& material : materials)
        material.ambient = colour;
}
