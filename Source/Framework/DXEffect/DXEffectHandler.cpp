#include "Framework/DXEffect/DXEffectHandler.h"

#include "Framework/DeviceCall.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Platform/Gfx/IDirect3DBaseTexture9.h"

#include <algorithm>

namespace {

// Holds an effect for the length of a draw: a checked call inside the draw may reset the device,
// and the reset destroys the Global effect's DXEffect.
class EffectHold {
public:
    explicit EffectHold(ID3DXEffect* effect) : effect(effect) { effect->AddRef(); }
    ~EffectHold() { effect->Release(); }
    EffectHold(const EffectHold&) = delete;
    EffectHold& operator=(const EffectHold&) = delete;

    ID3DXEffect* const effect;
};

// What the show set on an effect it reloads goes over to the new one, wherever a parameter of that
// name and kind is there: a texture (a target or a module's texture, set once), and a float value
// that differs from the old effect's own default. A value still at its default is the file's to
// change, and a texture the effect names itself comes with the new load.
void CarryParameterValues(ID3DXEffect& from, ID3DXEffect& to)
{
    const auto& toParameters = to.Description().parameters;
    for (const fx::Parameter& old : from.Description().parameters) {
        const auto same = std::find_if(toParameters.begin(), toParameters.end(), [&](const fx::Parameter& p) {
            return p.name == old.name && p.kind == old.kind && p.elements == old.elements && !p.shared;
        });
        if (old.shared || same == toParameters.end())
            continue;
        const char* name = old.name.c_str();
        if (fx::IsTexture(old.kind)) {
            const bool named = std::any_of(old.annotations.begin(), old.annotations.end(),
                                           [](const fx::Annotation& a) { return a.name == "ResourceName"; });
            IDirect3DBaseTexture9* texture = nullptr;
            if (!named && SUCCEEDED(from.GetTexture(name, &texture)) && texture) {
                to.SetTexture(name, texture);
                texture->Release();
            }
            continue;
        }
        std::vector<float> value(fx::FloatCount(old));
        std::vector<float> byDefault = old.defaultValue;
        byDefault.resize(value.size(), 0.0f);
        if (SUCCEEDED(from.GetFloatArray(name, value.data(), static_cast<UINT>(value.size()))) && value != byDefault)
            to.SetFloatArray(name, value.data(), static_cast<UINT>(value.size()));
    }
}

} // namespace

DXEffectHandler::DXEffectHandler() : Singleton("DXEffectHandler") {}

DXEffectHandler::~DXEffectHandler()
{
    activeEffect = nullptr;
    cameraMatrices = CameraMatrices();
}

void DXEffectHandler::AddEffect(const std::string& name, const std::string& fileName, ID3DXEffectPool* pool)
{
    if (const auto found = effects.find(name); found != effects.end()) {
        DXEffect& effect = *found->second;
        // The effect holds its pool, so an address equal to the new pool's is the same pool.
        if (effect.effect && effect.effectPool == pool)
            return;
        LoadWatched(name, effect, fileNames[name], pool);
        effect.SetTechnique(effect.techniqueName);
        return;
    }
    auto effect = std::make_unique<DXEffect>();
    LoadWatched(name, *effect, fileName, pool);
    effects.emplace(name, std::move(effect));
    fileNames.emplace(name, fileName);
}

void DXEffectHandler::LoadWatched(const std::string& name, DXEffect& effect, const std::string& fileName,
                                  ID3DXEffectPool* pool)
{
    if (!ReloadHub::Instance()) {
        effect.LoadEffect(fileName, pool);
        return;
    }
    const FileSys::ReadLog read(*FileSys::Instance());
    effect.LoadEffect(fileName, pool);
    reloads[name] = ReloadHub::Instance()->Watch(read.names, [this, name] { ReloadEffect(name); });
}

void DXEffectHandler::ReloadEffect(const std::string& name)
{
    const auto found = effects.find(name);
    if (found == effects.end())
        throw FrameworkEx("[DXEffectHandler::ReloadEffect] No effect \"" + name + "\"");
    DXEffect& current = *found->second;
    DXEffect fresh;
    fresh.textureFailureThrows = true;
    LoadWatched(name, fresh, fileNames[name], current.effectPool);
    fresh.SetTechnique(current.techniqueName);
    if (current.effect)
        CarryParameterValues(*current.effect, *fresh.effect);
    current.Swap(fresh);
    // fresh now holds the old effect and textures, and releases them as it goes.
}

DXEffect* DXEffectHandler::GetEffect(const std::string& name) const
{
    const auto found = effects.find(name);
    return found == effects.end() ? nullptr : found->second.get();
}

void DXEffectHandler::DestroyEffect(const std::string& name)
{
    const auto found = effects.find(name);
    if (found == effects.end())
        return;
    if (activeEffect == found->second.get())
        activeEffect = nullptr;
    effects.erase(found);
    reloads.erase(name);
    fileNames.erase(name);
}

DXEffect* DXEffectHandler::SetActiveEffect(const std::string& name)
{
    DXEffectHandler* handler = Instance();
    activeEffect = handler ? handler->GetEffect(name) : nullptr;
    if (!activeEffect) {
        std::string message = "[DXEffectHandler::SetActiveEffect] Effect \"" + name +
                              "\" not registered. Available effects are:\n";
        if (handler)
            for (const auto& [registered, effect] : handler->effects)
                message += registered + "\n";
        throw FrameworkEx(message);
    }
    return activeEffect;
}

void DXEffectHandler::SetTechnique(const std::string& name)
{
    if (!activeEffect)
        throw FrameworkEx("[DXEffectHandler::SetTechnique] Could not set technique) \"" + name + "\": No effect set");
    activeEffect->SetTechnique(name);
}

DXEffect& DXEffectHandler::Active(const char* operation)
{
    if (!activeEffect)
        throw FrameworkEx(std::string("[DXEffectHandler::") + operation + "] No effect set");
    return *activeEffect;
}

void DXEffectHandler::SetFloatBySemantic(const std::string& semantic, float value)
{
    Active("SetFloatBySemantic").SetFloatBySemantic(semantic, value);
}

void DXEffectHandler::SetVec2BySemantic(const std::string& semantic, const float* values)
{
    Active("SetVec2BySemantic").SetVec2BySemantic(semantic, values);
}

void DXEffectHandler::SetVec3BySemantic(const std::string& semantic, const float* values)
{
    Active("SetVec3BySemantic").SetVec3BySemantic(semantic, values);
}

void DXEffectHandler::SetVec4BySemantic(const std::string& semantic, const float* values)
{
    Active("SetVec4BySemantic").SetVec4BySemantic(semantic, values);
}

void DXEffectHandler::SetFloatArrayBySemantic(const std::string& semantic, const float* values)
{
    Active("SetFloatArrayBySemantic").SetFloatArrayBySemantic(semantic, values);
}

void DXEffectHandler::SetMatrixBySemantic(const std::string& semantic, const D3DXMATRIX* matrix)
{
    Active("SetMatrixBySemantic").SetMatrixBySemantic(semantic, matrix);
}

void DXEffectHandler::SetTextureBySemantic(const std::string& semantic, IDirect3DBaseTexture9* texture)
{
    Active("SetTextureBySemantic").SetTextureBySemantic(semantic, texture);
}

void DXEffectHandler::DrawObject(const D3DXMATRIX& world, const D3DXMATRIX& previousWorld,
                                 const std::function<void()>& draw)
{
    DXEffect& active = Active("DrawObject");
    active.SetObjectMatrices(world, previousWorld, cameraMatrices);
    if (!active.effect)
        return;
    const EffectHold hold(active.effect);
    UINT passes = 0;
    // A failed Begin or BeginPass is a failed device call: a lost device recovers (and this draw
    // is dropped), anything else raises with this call site.
    if (!DEVICE_CALL(hold.effect->Begin(&passes, 0)))
        return;
    try {
        for (UINT pass = 0; pass < passes; ++pass) {
            if (!DEVICE_CALL(hold.effect->BeginPass(pass))) {
                hold.effect->End();
                return;
            }
            draw();
            hold.effect->EndPass();
        }
    } catch (...) {
        // A failing draw leaves the effect ready for the next one.
        hold.effect->EndPass();
        hold.effect->End();
        throw;
    }
    hold.effect->End();
}

void DXEffectHandler::DrawObject(BASERENDEROBJECT& object)
{
    DrawObject(object.worldMatrix, object.previousWorldMatrix, [&object] { object.Draw(); });
}
