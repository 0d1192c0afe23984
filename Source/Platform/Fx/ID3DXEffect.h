// D3DX's effect: an effect description on a device, with the values of its parameters (shared
// ones in its pool), a current technique and the pass protocol Begin, BeginPass, CommitChanges,
// EndPass, End. What reaches the device is its driver's work (EffectDriver.h).
//
// Rules kept as D3DX keeps them:
// - A handle stays valid for the effect's life; a null handle means "no such parameter", and
//   every setter and getter given one answers D3DERR_INVALIDCALL and changes nothing. A
//   parameter's or technique's name is taken in place of its handle.
// - Setters check the kind: SetMatrix takes a float4x4, SetTexture a texture of the parameter's
//   own kind (or null), the float setters any float parameter. SetFloatArray and SetVector write
//   as many floats as both sides hold, from the parameter's first float on; the rest keeps its
//   value.
// - Values set after BeginPass reach the device at CommitChanges (or the next BeginPass).
// - The technique cannot change between Begin and End; passes do not nest.
#pragma once

#include "Platform/D3DX/D3DXMath.h"
#include "Platform/Fx/D3DXEffectTypes.h"
#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/EffectDriver.h"
#include "Platform/Fx/ParameterValue.h"
#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Unknown.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class ID3DXEffectPool;

class ID3DXEffect : public Unknown {
public:
    // Made by D3DXCreateEffect. Null with messages (file:line: what is wrong) when a shared
    // parameter clashes with the pool's or the driver refuses the effect.
    static ID3DXEffect* Create(IDirect3DDevice9& device, fx::EffectDescription description, ID3DXEffectPool* pool,
                               std::string& messages);

    HRESULT GetDevice(IDirect3DDevice9** ppDevice);
    // D3DERR_INVALIDCALL when the effect was made without a pool.
    HRESULT GetPool(ID3DXEffectPool** ppPool);

    // Parameters and annotations. The parent must be null: parameters have no members here.
    D3DXHANDLE GetParameterByName(D3DXHANDLE hParameter, const char* pName) const;
    D3DXHANDLE GetParameterBySemantic(D3DXHANDLE hParameter, const char* pSemantic) const;
    D3DXHANDLE GetAnnotationByName(D3DXHANDLE hObject, const char* pName) const;
    // An annotation's text (every annotation is a string).
    HRESULT GetString(D3DXHANDLE hAnnotation, const char** ppString) const;

    HRESULT SetFloat(D3DXHANDLE hParameter, float f);
    HRESULT GetFloat(D3DXHANDLE hParameter, float* pf) const;
    HRESULT SetFloatArray(D3DXHANDLE hParameter, const float* pf, UINT Count);
    HRESULT GetFloatArray(D3DXHANDLE hParameter, float* pf, UINT Count) const;
    HRESULT SetVector(D3DXHANDLE hParameter, const D3DXVECTOR4* pVector);
    HRESULT GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) const;
    HRESULT SetMatrix(D3DXHANDLE hParameter, const D3DXMATRIX* pMatrix);
    HRESULT GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) const;
    HRESULT SetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9* pTexture);
    // With a reference the caller releases; null when none is set.
    HRESULT GetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9** ppTexture) const;

    // Techniques. The first technique is current from the start.
    D3DXHANDLE GetTechniqueByName(const char* pName) const;
    D3DXHANDLE GetCurrentTechnique() const;
    HRESULT SetTechnique(D3DXHANDLE hTechnique);

    // Passes of the current technique.
    HRESULT Begin(UINT* pPasses, DWORD Flags);
    HRESULT BeginPass(UINT Pass);
    HRESULT CommitChanges();
    HRESULT EndPass();
    HRESULT End();

    const fx::EffectDescription& Description() const { return description_; }

private:
    enum class HandleKind { Parameter, Annotation, Technique };
    struct Handle {
        HandleKind kind;
        uint32_t index;      // parameter or technique
        uint32_t annotation; // for annotations
    };

    ID3DXEffect(IDirect3DDevice9& device, fx::EffectDescription description, ID3DXEffectPool* pool);
    ~ID3DXEffect() override;

    // The parameter or technique a handle (or a name given in its place) stands for.
    std::optional<uint32_t> FindParameter(D3DXHANDLE handle) const;
    std::optional<uint32_t> FindTechnique(D3DXHANDLE handle) const;
    // The float parameter's value, for a setter or getter; null when the handle names none.
    fx::ParameterValue* FloatValue(D3DXHANDLE handle) const;
    HRESULT WriteFloats(D3DXHANDLE handle, const float* values, UINT count);
    HRESULT ReadFloats(D3DXHANDLE handle, float* values, UINT count) const;
    fx::EffectView View() const;
    void IndexHandles();
    // What a pass sets on the device beside its driver's programs (ID3DXEffectPasses.cpp).
    HRESULT SetPassStates(uint32_t pass);
    HRESULT BindSamplerTextures();
    void EndTechnique();

    IDirect3DDevice9& device_;
    ID3DXEffectPool* pool_;
    const fx::EffectDescription description_;
    std::vector<std::shared_ptr<fx::ParameterValue>> values_;
    std::unique_ptr<fx::EffectDriver> driver_;
    std::vector<size_t> samplerTextures_; // the parameter each sampler (and so each stage) reads
    // Render states a pass of the current technique set, with their values before it began.
    std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> savedStates_;
    std::unordered_map<const void*, Handle> handles_;

    std::optional<uint32_t> technique_;
    bool begun_ = false;
    DWORD beginFlags_ = 0;
    std::optional<uint32_t> pass_;
};
