#include "Framework/DXEffect/DXEffect.h"

#include "Framework/DXEffect/CreateCubeTextureFromFile.h"
#include "Framework/DXEffect/CreateEffectFromFile.h"
#include "Framework/DXEffect/CreateTextureFromFile.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Platform/D3DX/D3DXFilter.h"
#include "Platform/Window/MessageBox.h"

#include <memory>

namespace {

const CallSite CreateMessagesBufferSite{".\\Source\\Framework\\DXEffect\\DXEffect.cpp", 105};
constexpr DWORD MessagesBufferSize = 4096;
constexpr int TextureSemantics = 32; // TEXTURE0 .. TEXTURE31

struct BufferRelease {
    void operator()(ID3DXBuffer* buffer) const { buffer->Release(); }
};
using BufferHolder = std::unique_ptr<ID3DXBuffer, BufferRelease>;

// An annotation's text, or nothing when the parameter has no such annotation.
const char* Annotation(ID3DXEffect& effect, D3DXHANDLE parameter, const char* name)
{
    const char* text = nullptr;
    if (const D3DXHANDLE annotation = effect.GetAnnotationByName(parameter, name))
        effect.GetString(annotation, &text);
    return text;
}

} // namespace

DXEffect::~DXEffect()
{
    ReleaseEffect();
}

void DXEffect::LoadEffect(const std::string& fileName, ID3DXEffectPool* pool)
{
    if (fileName.empty())
        throw FrameworkEx("Empty filename supplied to DXEffect::LoadEffect");
    // Reloading must not leak what the previous load made.
    ReleaseEffect();
    loaded = false;

    ID3DXBuffer* created = nullptr;
    CheckDeviceCall(D3DXCreateBuffer(MessagesBufferSize, &created), CreateMessagesBufferSite);
    const BufferHolder messagesBuffer(created);
    effectPool = pool;
    // Creation hands its messages back in a buffer of its own, which goes with every way out of here.
    ID3DXBuffer* compilerMessages = nullptr;
    const HRESULT result = CreateEffectFromFile(fileName.c_str(), pool, &effect, &compilerMessages);
    const BufferHolder messages(compilerMessages);
    if (FAILED(result))
        throw FrameworkEx("Could not Create effect from: " + fileName + "\n\n" + std::string(BufferText(messages.get())));

    LoadTextures();
    ResolveStandardHandles();
    for (const D3DXHANDLE parameter : textureParameters)
        effect->SetTexture(parameter, textures[parameter]);
    loaded = true;
}

void DXEffect::LoadTextures()
{
    textureParameters.clear();
    for (int n = 0; n < TextureSemantics; ++n) {
        const std::string semantic = "TEXTURE" + std::to_string(n);
        if (const D3DXHANDLE parameter = effect->GetParameterBySemantic(nullptr, semantic.c_str()))
            LoadTexture(parameter);
    }
}

void DXEffect::LoadTexture(D3DXHANDLE parameter)
{
    const char* resourceName = Annotation(*effect, parameter, "ResourceName");
    if (!resourceName)
        return; // nothing names a file: the parameter is left alone
    const char* typeText = Annotation(*effect, parameter, "Type");
    const std::string type = typeText ? typeText : "2D";
    const std::string path = textureDirectory + resourceName;
    textures[parameter] = nullptr;
    HRESULT result = D3D_OK;
    if (type == "2D") {
        const char* filterText = Annotation(*effect, parameter, "Filter");
        const bool unfiltered = filterText && std::string(filterText) == "NONE";
        IDirect3DTexture9* texture = nullptr;
        result = unfiltered ? CreateTextureFromFile(path, D3DX_FILTER_NONE, D3DX_FILTER_NONE, &texture)
                            : CreateTextureFromFile(path, D3DX_FILTER_LINEAR, D3DX_FILTER_DITHER_DIFFUSION, &texture);
        textures[parameter] = texture;
    } else if (type == "CUBE") {
        IDirect3DCubeTexture9* texture = nullptr;
        result = CreateCubeTextureFromFile(path, &texture);
        textures[parameter] = texture;
    }
    if (FAILED(result) && textureFailureThrows)
        throw FrameworkEx("Couldnt read file " + path);
    if (FAILED(result))
        ShowMessageBox("Couldnt read file", resourceName);
    textureParameters.push_back(parameter);
}

void DXEffect::ResolveStandardHandles()
{
    const auto resolve = [this](const char* semantic) { return effect->GetParameterBySemantic(nullptr, semantic); };
    LOCAL = resolve("LOCAL");
    LOCALVIEW = resolve("LOCALVIEW");
    LOCALVIEWPROJ = resolve("LOCALVIEWPROJ");
    OLDLOCALVIEWPROJ = resolve("OLDLOCALVIEWPROJ");
    LOCALLIGHTVIEWPROJ = resolve("LOCALLIGHTVIEWPROJ");
    DIFFUSE = resolve("DIFFUSE");
    AMBIENT = resolve("AMBIENT");
    SPECULAR = resolve("SPECULAR");
    SPECULARPOW = resolve("SPECULARPOW");
    MATTEX = resolve("MATTEX");
}

void DXEffect::ReleaseEffect()
{
    for (const D3DXHANDLE parameter : textureParameters) {
        IDirect3DBaseTexture9*& texture = textures[parameter];
        if (texture)
            texture->Release();
        texture = nullptr;
    }
    textureParameters.clear();
    textures.clear();
    if (effect)
        effect->Release();
    effect = nullptr;
    semanticHandles.clear();
    MATTEX = DIFFUSE = AMBIENT = SPECULAR = SPECULARPOW = nullptr;
    LOCAL = LOCALVIEW = LOCALVIEWPROJ = LOCALLIGHTVIEWPROJ = OLDLOCALVIEWPROJ = nullptr;
}

void DXEffect::Swap(DXEffect& other) noexcept
{
    std::swap(loaded, other.loaded);
    textureParameters.swap(other.textureParameters);
    textures.swap(other.textures);
    textureDirectory.swap(other.textureDirectory);
    techniqueName.swap(other.techniqueName);
    semanticHandles.swap(other.semanticHandles);
    missingTechniques.swap(other.missingTechniques);
    std::swap(MATTEX, other.MATTEX);
    std::swap(DIFFUSE, other.DIFFUSE);
    std::swap(AMBIENT, other.AMBIENT);
    std::swap(SPECULAR, other.SPECULAR);
    std::swap(SPECULARPOW, other.SPECULARPOW);
    std::swap(LOCAL, other.LOCAL);
    std::swap(LOCALVIEW, other.LOCALVIEW);
    std::swap(LOCALVIEWPROJ, other.LOCALVIEWPROJ);
    std::swap(LOCALLIGHTVIEWPROJ, other.LOCALLIGHTVIEWPROJ);
    std::swap(OLDLOCALVIEWPROJ, other.OLDLOCALVIEWPROJ);
    std::swap(effectPool, other.effectPool);
    std::swap(effect, other.effect);
}

void DXEffect::SetTechnique(const std::string& name)
{
    techniqueName = name;
    // The effect keeps its technique, as a Direct3D effect does; the name is remembered so that a
    // check of the show's data can tell which techniques its effects lack.
    if (effect && FAILED(effect->SetTechnique(name.c_str())))
        missingTechniques.insert(name);
}

D3DXHANDLE DXEffect::GetHandleBySemantic(const std::string& semantic)
{
    if (!effect)
        return nullptr;
    const auto cached = semanticHandles.find(semantic);
    if (cached != semanticHandles.end())
        return cached->second;
    const D3DXHANDLE handle = effect->GetParameterBySemantic(nullptr, semantic.c_str());
    semanticHandles.emplace(semantic, handle);
    return handle;
}

void DXEffect::SetObjectMatrices(const D3DXMATRIX& world, const D3DXMATRIX& previousWorld, const CameraMatrices& camera)
{
    D3DXMATRIX product;
    if (LOCAL)
        SetMatrix(LOCAL, &world);
    if (LOCALVIEW)
        SetMatrix(LOCALVIEW, D3DXMatrixMultiply(&product, &world, &camera.view));
    if (LOCALVIEWPROJ)
        SetMatrix(LOCALVIEWPROJ, D3DXMatrixMultiply(&product, &world, &camera.viewProjection));
    if (OLDLOCALVIEWPROJ)
        SetMatrix(OLDLOCALVIEWPROJ, D3DXMatrixMultiply(&product, &previousWorld, &camera.previousViewProjection));
}

void DXEffect::SetTexture(D3DXHANDLE handle, IDirect3DBaseTexture9* texture)
{
    if (effect)
        effect->SetTexture(handle, texture);
}

void DXEffect::SetMatrix(D3DXHANDLE handle, const D3DXMATRIX* matrix)
{
    if (effect)
        effect->SetMatrix(handle, matrix);
}

void DXEffect::SetFloat(D3DXHANDLE handle, float value)
{
    if (effect)
        effect->SetFloat(handle, value);
}

void DXEffect::SetVec4(D3DXHANDLE handle, const float* values)
{
    if (effect)
        effect->SetFloatArray(handle, values, 4);
}

void DXEffect::SetVec3(D3DXHANDLE handle, const float* values)
{
    if (effect)
        effect->SetFloatArray(handle, values, 3);
}

void DXEffect::SetVec2(D3DXHANDLE handle, const float* values)
{
    if (effect)
        effect->SetFloatArray(handle, values, 2);
}

void DXEffect::SetFloatArray(D3DXHANDLE handle, const float* values)
{
    if (effect)
        effect->SetFloatArray(handle, values, FloatArrayCount);
}

void DXEffect::SetTextureBySemantic(const std::string& semantic, IDirect3DBaseTexture9* texture)
{
    SetTexture(GetHandleBySemantic(semantic), texture);
}

void DXEffect::SetMatrixBySemantic(const std::string& semantic, const D3DXMATRIX* matrix)
{
    SetMatrix(GetHandleBySemantic(semantic), matrix);
}

void DXEffect::SetFloatBySemantic(const std::string& semantic, float value)
{
    SetFloat(GetHandleBySemantic(semantic), value);
}

void DXEffect::SetVec4BySemantic(const std::string& semantic, const float* values)
{
    SetVec4(GetHandleBySemantic(semantic), values);
}

void DXEffect::SetVec3BySemantic(const std::string& semantic, const float* values)
{
    SetVec3(GetHandleBySemantic(semantic), values);
}

void DXEffect::SetVec2BySemantic(const std::string& semantic, const float* values)
{
    SetVec2(GetHandleBySemantic(semantic), values);
}

void DXEffect::SetFloatArrayBySemantic(const std::string& semantic, const float* values)
{
    SetFloatArray(GetHandleBySemantic(semantic), values);
}
