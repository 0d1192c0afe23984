// One compiled effect file of the show on the device, in the framework's effect pool, with the
// textures its TEXTURE0 .. TEXTURE31 parameters name through annotations and the handles of the
// standard parameters, resolved once at load. The registry (DXEffectHandler) makes, loads and
// owns every DXEffect.
#pragma once

#include "Framework/DXEffect/CameraMatrices.h"
#include "Platform/Fx/D3DXCreateEffect.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class DXEffect {
public:
    DXEffect() = default;
    ~DXEffect();
    DXEffect(const DXEffect&) = delete;
    DXEffect& operator=(const DXEffect&) = delete;

    // Creates the effect from "OShaders\" + fileName + "o" in the pool, loads its annotated
    // textures (a texture that cannot be read shows a "Couldnt read file" box and stays null) and
    // resolves the standard handles. Throws FrameworkEx. A second call reloads.
    void LoadEffect(const std::string& fileName, ID3DXEffectPool* pool);
    // Releases the textures, the effect and the semantic cache.
    void ReleaseEffect();
    // Trades everything loaded (effect, textures, handles, technique) with other, so that those who
    // hold this DXEffect draw with what other loaded.
    void Swap(DXEffect& other) noexcept;

    // A texture that cannot be read raises FrameworkEx instead of showing its box; a reload sets it,
    // so that a broken texture keeps the last good one.
    bool textureFailureThrows = false;

    // Stores the name and selects that technique; an unknown name is ignored by the effect and
    // added to missingTechniques.
    void SetTechnique(const std::string& name);
    // The parameter with that semantic, asked of the effect once per semantic (a missing one is
    // remembered as null); null while no effect is loaded.
    D3DXHANDLE GetHandleBySemantic(const std::string& semantic);
    // LOCAL, LOCALVIEW, LOCALVIEWPROJ and OLDLOCALVIEWPROJ, each where the effect has it.
    void SetObjectMatrices(const D3DXMATRIX& world, const D3DXMATRIX& previousWorld, const CameraMatrices& camera);

    // Setters by handle and by semantic; what the effect refuses (a null handle) is dropped.
    void SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture);
    void SetMatrix(D3DXHANDLE handle, const D3DXMATRIX* matrix);
    void SetFloat(D3DXHANDLE handle, float value);
    void SetVec4(D3DXHANDLE handle, const float* values);
    void SetVec3(D3DXHANDLE handle, const float* values);
    void SetVec2(D3DXHANDLE handle, const float* values);
    // Always 48 floats: the caller's array must hold them.
    void SetFloatArray(D3DXHANDLE handle, const float* values);
    void SetTextureBySemantic(const std::string& semantic, IDirect3DBaseTexture9* texture);
    void SetMatrixBySemantic(const std::string& semantic, const D3DXMATRIX* matrix);
    void SetFloatBySemantic(const std::string& semantic, float value);
    void SetVec4BySemantic(const std::string& semantic, const float* values);
    void SetVec3BySemantic(const std::string& semantic, const float* values);
    void SetVec2BySemantic(const std::string& semantic, const float* values);
    void SetFloatArrayBySemantic(const std::string& semantic, const float* values);

    static constexpr UINT FloatArrayCount = 48;

    bool loaded = false;
    std::vector<D3DXHANDLE> textureParameters;
    std::map<D3DXHANDLE, IDirect3DBaseTexture9*> textures;
    std::string textureDirectory = "Data\\";
    std::string techniqueName = "Default";
    std::map<std::string, D3DXHANDLE> semanticHandles;
    // Techniques asked for that the effect does not have (or asked for between Begin and End).
    std::set<std::string> missingTechniques;
    D3DXHANDLE MATTEX = nullptr;
    D3DXHANDLE DIFFUSE = nullptr;
    D3DXHANDLE AMBIENT = nullptr;
    D3DXHANDLE SPECULAR = nullptr;
    D3DXHANDLE SPECULARPOW = nullptr;
    D3DXHANDLE LOCAL = nullptr;
    D3DXHANDLE LOCALVIEW = nullptr;
    D3DXHANDLE LOCALVIEWPROJ = nullptr;
    D3DXHANDLE LOCALLIGHTVIEWPROJ = nullptr;
    D3DXHANDLE OLDLOCALVIEWPROJ = nullptr;
    ID3DXEffectPool* effectPool = nullptr;
    ID3DXEffect* effect = nullptr;

private:
    void LoadTextures();
    void LoadTexture(D3DXHANDLE parameter);
    void ResolveStandardHandles();
};
