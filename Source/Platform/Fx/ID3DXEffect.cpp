// The effect's life, its handles, and its parameters' values.
#include "Platform/Fx/ID3DXEffect.h"

#include "Platform/Fx/ID3DXEffectPool.h"
#include "Platform/Fx/detail/InitialValue.h"
#include "Platform/Gfx/Direct3D9.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string Where(const fx::EffectDescription& description, fx::SourceLocation where)
{
    const std::string file = where.file < description.files.size() ? description.files[where.file] : "effect";
    return file + ":" + std::to_string(where.line);
}

const char* KindName(fx::ParameterKind kind)
{
    switch (kind) {
    case fx::ParameterKind::Float: return "float";
    case fx::ParameterKind::Float2: return "float2";
    case fx::ParameterKind::Float3: return "float3";
    case fx::ParameterKind::Float4: return "float4";
    case fx::ParameterKind::Float4x4: return "float4x4";
    case fx::ParameterKind::Texture2D: return "texture2D";
    case fx::ParameterKind::TextureCube: return "textureCUBE";
    case fx::ParameterKind::Texture3D: return "texture3D";
    }
    return "parameter";
}

std::string TypeName(const fx::Parameter& parameter)
{
    std::string name = KindName(parameter.kind);
    if (parameter.elements != 0)
        name += "[" + std::to_string(parameter.elements) + "]";
    return name;
}

D3DRESOURCETYPE ResourceTypeOf(fx::ParameterKind kind)
{
    switch (kind) {
    case fx::ParameterKind::TextureCube: return D3DRTYPE_CUBETEXTURE;
    case fx::ParameterKind::Texture3D: return D3DRTYPE_VOLUMETEXTURE;
    default: return D3DRTYPE_TEXTURE;
    }
}

} // namespace

ID3DXEffect* ID3DXEffect::Create(IDirect3DDevice9& device, fx::EffectDescription description, ID3DXEffectPool* pool,
                                 std::string& messages)
{
    if (pool) {
        for (const fx::Parameter& parameter : description.parameters) {
            const fx::Parameter* declared = parameter.shared ? pool->Declaration(parameter.name) : nullptr;
            if (declared && (declared->kind != parameter.kind || declared->elements != parameter.elements)) {
                messages = Where(description, parameter.where) + ": shared parameter " + parameter.name + " is a " +
                           TypeName(parameter) + " here but a " + TypeName(*declared) +
                           " in the effect pool, where another effect declared it\n";
                return nullptr;
            }
        }
    }
    auto* effect = new ID3DXEffect(device, std::move(description), pool);
    fx::EffectDriver* driver = nullptr;
    const HRESULT hr = device.CreateEffectDriver(&effect->description_, &driver, &messages);
    effect->driver_.reset(driver);
    if (FAILED(hr)) {
        if (messages.empty()) { // the backend gave no reason of its own
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
            messages = Where(effect->description_, {}) + ": the device made no driver for the effect (" + code + ")\n";
        }
        effect->Release();
        return nullptr;
    }
    return effect;
}

ID3DXEffect::ID3DXEffect(IDirect3DDevice9& device, fx::EffectDescription description, ID3DXEffectPool* pool)
    : device_(device), pool_(pool), description_(std::move(description))
{
    device_.AddRef();
    if (pool_)
        pool_->AddRef();
    for (const fx::Parameter& parameter : description_.parameters)
        values_.push_back(parameter.shared && pool_ ? pool_->Join(parameter) : fx::detail::InitialValue(parameter));
    if (!description_.techniques.empty())
        technique_ = 0;
    IndexHandles();
    // The texture parameter each sampler reads (the parser has made sure it names one).
    for (const fx::Sampler& sampler : description_.samplers) {
        const auto& parameters = description_.parameters;
        const auto texture = std::find_if(parameters.begin(), parameters.end(),
                                          [&](const fx::Parameter& parameter) { return parameter.name == sampler.texture; });
        samplerTextures_.push_back(static_cast<size_t>(texture - parameters.begin()));
    }
}

ID3DXEffect::~ID3DXEffect()
{
    // An effect released mid-technique leaves the device as End would.
    if (pass_ && driver_)
        driver_->EndPass();
    if (begun_ && driver_)
        EndTechnique();
    // What the values hold may reach the device as it goes: the device goes last.
    driver_.reset();
    values_.clear();
    if (pool_)
        pool_->Release();
    device_.Release();
}

void ID3DXEffect::IndexHandles()
{
    for (uint32_t p = 0; p < description_.parameters.size(); ++p) {
        const fx::Parameter& parameter = description_.parameters[p];
        handles_.emplace(parameter.name.c_str(), Handle{HandleKind::Parameter, p, 0});
        for (uint32_t a = 0; a < parameter.annotations.size(); ++a)
            handles_.emplace(parameter.annotations[a].name.c_str(), Handle{HandleKind::Annotation, p, a});
    }
    for (uint32_t t = 0; t < description_.techniques.size(); ++t)
        handles_.emplace(description_.techniques[t].name.c_str(), Handle{HandleKind::Technique, t, 0});
}

HRESULT ID3DXEffect::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    device_.AddRef();
    *ppDevice = &device_;
    return D3D_OK;
}

HRESULT ID3DXEffect::GetPool(ID3DXEffectPool** ppPool)
{
    if (!ppPool || !pool_)
        return D3DERR_INVALIDCALL;
    pool_->AddRef();
    *ppPool = pool_;
    return D3D_OK;
}

std::optional<uint32_t> ID3DXEffect::FindParameter(D3DXHANDLE handle) const
{
    if (!handle)
        return std::nullopt;
    if (const auto found = handles_.find(handle); found != handles_.end()) {
        if (found->second.kind != HandleKind::Parameter)
            return std::nullopt;
        return found->second.index;
    }
    // Not one of this effect's handles, so a name (every handle is a string, see D3DXHANDLE).
    const auto& parameters = description_.parameters;
    const auto named = std::find_if(parameters.begin(), parameters.end(),
                                    [&](const fx::Parameter& parameter) { return parameter.name == handle; });
    if (named == parameters.end())
        return std::nullopt;
    return static_cast<uint32_t>(named - parameters.begin());
}

std::optional<uint32_t> ID3DXEffect::FindTechnique(D3DXHANDLE handle) const
{
    if (!handle)
        return std::nullopt;
    if (const auto found = handles_.find(handle); found != handles_.end()) {
        if (found->second.kind != HandleKind::Technique)
            return std::nullopt;
        return found->second.index;
    }
    const auto& techniques = description_.techniques;
    const auto named = std::find_if(techniques.begin(), techniques.end(),
                                    [&](const fx::Technique& technique) { return technique.name == handle; });
    if (named == techniques.end())
        return std::nullopt;
    return static_cast<uint32_t>(named - techniques.begin());
}

D3DXHANDLE ID3DXEffect::GetParameterByName(D3DXHANDLE hParameter, const char* pName) const
{
    if (hParameter || !pName)
        return nullptr;
    for (const fx::Parameter& parameter : description_.parameters)
        if (parameter.name == pName)
            return parameter.name.c_str();
    return nullptr;
}

D3DXHANDLE ID3DXEffect::GetParameterBySemantic(D3DXHANDLE hParameter, const char* pSemantic) const
{
    if (hParameter || !pSemantic || !*pSemantic)
        return nullptr;
    for (const fx::Parameter& parameter : description_.parameters)
        if (parameter.semantic == pSemantic)
            return parameter.name.c_str();
    return nullptr;
}

D3DXHANDLE ID3DXEffect::GetAnnotationByName(D3DXHANDLE hObject, const char* pName) const
{
    const std::optional<uint32_t> parameter = FindParameter(hObject);
    if (!parameter || !pName)
        return nullptr;
    for (const fx::Annotation& annotation : description_.parameters[*parameter].annotations)
        if (annotation.name == pName)
            return annotation.name.c_str();
    return nullptr;
}

HRESULT ID3DXEffect::GetString(D3DXHANDLE hAnnotation, const char** ppString) const
{
    const auto found = hAnnotation ? handles_.find(hAnnotation) : handles_.end();
    if (!ppString || found == handles_.end() || found->second.kind != HandleKind::Annotation)
        return D3DERR_INVALIDCALL;
    *ppString = description_.parameters[found->second.index].annotations[found->second.annotation].value.c_str();
    return D3D_OK;
}

fx::ParameterValue* ID3DXEffect::FloatValue(D3DXHANDLE handle) const
{
    const std::optional<uint32_t> parameter = FindParameter(handle);
    if (!parameter || fx::IsTexture(description_.parameters[*parameter].kind))
        return nullptr;
    return values_[*parameter].get();
}

HRESULT ID3DXEffect::WriteFloats(D3DXHANDLE handle, const float* values, UINT count)
{
    fx::ParameterValue* value = FloatValue(handle);
    if (!value || !values)
        return D3DERR_INVALIDCALL;
    const size_t written = std::min<size_t>(count, value->floats.size());
    std::copy_n(values, written, value->floats.begin());
    value->Changed();
    return D3D_OK;
}

HRESULT ID3DXEffect::ReadFloats(D3DXHANDLE handle, float* values, UINT count) const
{
    const fx::ParameterValue* value = FloatValue(handle);
    if (!value || !values)
        return D3DERR_INVALIDCALL;
    std::copy_n(value->floats.begin(), std::min<size_t>(count, value->floats.size()), values);
    return D3D_OK;
}

HRESULT ID3DXEffect::SetFloat(D3DXHANDLE hParameter, float f)
{
    return WriteFloats(hParameter, &f, 1);
}

HRESULT ID3DXEffect::GetFloat(D3DXHANDLE hParameter, float* pf) const
{
    return ReadFloats(hParameter, pf, 1);
}

HRESULT ID3DXEffect::SetFloatArray(D3DXHANDLE hParameter, const float* pf, UINT Count)
{
    return WriteFloats(hParameter, pf, Count);
}

HRESULT ID3DXEffect::GetFloatArray(D3DXHANDLE hParameter, float* pf, UINT Count) const
{
    return ReadFloats(hParameter, pf, Count);
}

HRESULT ID3DXEffect::SetVector(D3DXHANDLE hParameter, const D3DXVECTOR4* pVector)
{
    if (!pVector)
        return D3DERR_INVALIDCALL;
    const float values[4] = {pVector->x, pVector->y, pVector->z, pVector->w};
    return WriteFloats(hParameter, values, 4);
}

HRESULT ID3DXEffect::GetVector(D3DXHANDLE hParameter, D3DXVECTOR4* pVector) const
{
    if (!pVector)
        return D3DERR_INVALIDCALL;
    float values[4] = {};
    const HRESULT hr = ReadFloats(hParameter, values, 4);
    if (SUCCEEDED(hr))
        *pVector = D3DXVECTOR4{values[0], values[1], values[2], values[3]};
    return hr;
}

HRESULT ID3DXEffect::SetMatrix(D3DXHANDLE hParameter, const D3DXMATRIX* pMatrix)
{
    const std::optional<uint32_t> parameter = FindParameter(hParameter);
    if (!parameter || !pMatrix || description_.parameters[*parameter].kind != fx::ParameterKind::Float4x4)
        return D3DERR_INVALIDCALL;
    return WriteFloats(hParameter, &pMatrix->m[0][0], 16);
}

HRESULT ID3DXEffect::GetMatrix(D3DXHANDLE hParameter, D3DXMATRIX* pMatrix) const
{
    const std::optional<uint32_t> parameter = FindParameter(hParameter);
    if (!parameter || !pMatrix || description_.parameters[*parameter].kind != fx::ParameterKind::Float4x4)
        return D3DERR_INVALIDCALL;
    return ReadFloats(hParameter, &pMatrix->m[0][0], 16);
}

HRESULT ID3DXEffect::SetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9* pTexture)
{
    const std::optional<uint32_t> parameter = FindParameter(hParameter);
    if (!parameter)
        return D3DERR_INVALIDCALL;
    const fx::ParameterKind kind = description_.parameters[*parameter].kind;
    if (!fx::IsTexture(kind) ||
        (pTexture && (pTexture->GetType() != ResourceTypeOf(kind) || &pTexture->Device() != &device_)))
        return D3DERR_INVALIDCALL;
    fx::ParameterValue& value = *values_[*parameter];
    value.texture = fx::detail::TextureHold(pTexture);
    value.Changed();
    return D3D_OK;
}

HRESULT ID3DXEffect::GetTexture(D3DXHANDLE hParameter, IDirect3DBaseTexture9** ppTexture) const
{
    const std::optional<uint32_t> parameter = FindParameter(hParameter);
    if (!parameter || !ppTexture || !fx::IsTexture(description_.parameters[*parameter].kind))
        return D3DERR_INVALIDCALL;
    *ppTexture = values_[*parameter]->texture.Get();
    if (*ppTexture)
        (*ppTexture)->AddRef();
    return D3D_OK;
}

D3DXHANDLE ID3DXEffect::GetTechniqueByName(const char* pName) const
{
    if (!pName)
        return nullptr;
    for (const fx::Technique& technique : description_.techniques)
        if (technique.name == pName)
            return technique.name.c_str();
    return nullptr;
}

D3DXHANDLE ID3DXEffect::GetCurrentTechnique() const
{
    return technique_ ? description_.techniques[*technique_].name.c_str() : nullptr;
}

HRESULT ID3DXEffect::SetTechnique(D3DXHANDLE hTechnique)
{
    const std::optional<uint32_t> technique = FindTechnique(hTechnique);
    if (!technique || begun_)
        return D3DERR_INVALIDCALL;
    technique_ = technique;
    return D3D_OK;
}

fx::EffectView ID3DXEffect::View() const
{
    return fx::EffectView{*this, description_, values_};
}
