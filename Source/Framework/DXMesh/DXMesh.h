// A static triangle mesh from a ".x" file of the archive: its geometry on the device and its
// materials, drawn subset by subset with the active effect, each subset's material colours going
// to that effect's material parameters.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/RenderClasses/BASERENDEROBJECT.h"
#include "Platform/D3DX/D3DXMesh.h"

#include <string>
#include <vector>

// A subset's material. The first five members are a D3DMATERIAL9's, in its order.
struct MeshMaterial {
    D3DXVECTOR4 diffuse;
    D3DXVECTOR4 ambient;
    D3DXVECTOR4 specular; // kept, never sent to effects
    D3DXVECTOR4 emissive; // kept, never sent to effects
    float power = 0.0f;   // kept, never sent to effects
    // Always null: the texture names a file's materials give are not used.
    IDirect3DBaseTexture9* texture = nullptr;
};

class DXMesh : public BASERENDEROBJECT {
public:
    DXMesh(const std::string& animationName, int animationFlags);
    ~DXMesh() override;

    // Loads "Data\" + fileName. Throws FrameworkEx "[DXMesh::LoadX]: failed to load \"<fileName>\"."
    // when the entry is missing or the file is refused; the mesh then keeps no geometry.
    void LoadX(const std::string& fileName);
    // Loads the file of the last LoadX again; when that fails (FrameworkEx) the mesh keeps its
    // geometry and materials.
    void ReloadX();

    // Every subset with its material (MATTEX, DIFFUSE and AMBIENT, where the active effect has
    // them, then CommitChanges); called inside a pass.
    void Draw() override;

    void SetMaterialDiffuse(const D3DXVECTOR4& colour);
    void SetMaterialAmbient(const D3DXVECTOR4& colour);

    ID3DXMesh* mesh = nullptr;
    std::vector<MeshMaterial> materials;
    unsigned materialCount = 0;
    std::string directory = "Data\\";

private:
    // Reads and creates the mesh of fileName with its materials, touching nothing of this one's.
    void Read(const std::string& fileName, ID3DXMesh*& read, std::vector<MeshMaterial>& readMaterials) const;

    std::string fileName;
    ReloadHub::Subscription reload;
};
