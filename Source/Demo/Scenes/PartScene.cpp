#include "Demo/Scenes/PartScene.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/PostEffects/PostEffects.h"
#include "sync/device.h"

namespace {

constexpr int BloomLevels = 4;
constexpr int VelocityBlurRounds = 4;

std::string BloomTarget(int level, char pair)
{
    return "bloom_" + std::to_string(level) + "_" + pair;
}

ModuleHandler& Modules()
{
    return *ModuleHandler::Instance();
}

} // namespace

PartScene::PartScene(const PartSceneData& data) : Scene(data.name), data(data)
{
    if (data.intro)
        Modules().AddModule(std::make_unique<ParticleField>("ParticleField"));
}

void PartScene::Load()
{
    DXFramework& framework = *DXFramework::Instance();
    whiteFade = &framework.syncDevice->trackByName("WhiteFade");
    if (data.intro) {
        DXEffectHandler& effects = *DXEffectHandler::Instance();
        effects.AddEffect("EasiestFilterEver", "EasiestFilterEver.fx", framework.effectPool);
        effects.AddEffect("Tindrevik", "Tindrevik.fx", framework.effectPool);
        effects.AddEffect("Default", "Default.fx", framework.effectPool);
    }
    LoadSceneData(data.sceneFile);
}

void PartScene::Activate()
{
    const DisplaySettings& settings = DXFramework::Instance()->settings;
    const uint32_t width = settings.renderWidth;
    const uint32_t height = settings.renderHeight;
    AddRenderTarget("Color", D3DFMT_A8R8G8B8, width, height);
    AddRenderTarget("VelocityField1", D3DFMT_G16R16F, width, height);
    AddRenderTarget("VelocityField2", D3DFMT_G16R16F, width, height);
    for (int level = 1; level <= BloomLevels; ++level)
        for (char pair : {'a', 'b'})
            AddRenderTarget(BloomTarget(level, pair), D3DFMT_A8R8G8B8, width >> level, height >> level);
}

void PartScene::Deactivate()
{
    ReleaseTargets();
}

void PartScene::Start()
{
    Modules().GetModuleAs<ParticleField>("ParticleField").ResetParticles(data.colours);
}

void PartScene::Update()
{
    std::array<const SpotLight*, 3> emitters{};
    for (size_t i = 0; i < emitters.size(); ++i) {
        const auto found = lights.find(data.emitters[i]);
        emitters[i] = found == lights.end() ? nullptr : dynamic_cast<const SpotLight*>(found->second.get());
        if (!emitters[i])
            throw FrameworkEx("[" + GetName() + "::Update] The scene file \"" + data.sceneFile +
                              "\" has no spot light \"" + data.emitters[i] + "\"");
    }
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    field.UpdateParticles(*emitters[0], *emitters[1], *emitters[2]);
    field.SortParticles();
    Modules().GetModule("EasiestFilterEver").Update();
}

void PartScene::CopyPictureTo(const std::string& targetName)
{
    DXFramework& framework = *DXFramework::Instance();
    const DisplaySettings& settings = framework.settings;
    const LONG bar = static_cast<LONG>((settings.backBufferHeight - settings.renderHeight) / 2);
    const RECT picture{0, bar, static_cast<LONG>(settings.renderWidth), bar + static_cast<LONG>(settings.renderHeight)};
    DEVICE_CALL(DXFramework::device->StretchRect(framework.backBuffer, &picture, GetRenderTarget(targetName).surface,
                                                 nullptr, D3DTEXF_POINT));
}

void PartScene::Render()
{
    DXFramework& framework = *DXFramework::Instance();
    IDirect3DDevice9& device = *DXFramework::device;
    PostEffects& post = Modules().GetModuleAs<PostEffects>("PostFX");
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    DXModule& filter = Modules().GetModule("EasiestFilterEver");
    const RenderTargetEntry& colour = GetRenderTarget("Color");
    const RenderTargetEntry& velocity = GetRenderTarget("VelocityField1");

    // The velocity buffer starts each frame at rest; the colour keeps last frame's picture where
    // no background is drawn, and only its depth is cleared.
    RTHandler::BindTarget(0, velocity);
    post.FillQuad({0.0f, 0.0f, 0.0f, 0.0f});
    RTHandler::BindTarget(0, colour);
    DEVICE_CALL(device.Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0));
    if (data.ramp)
        post.Ramp();

    // Particles: colour into target 0, velocity into target 1.
    RTHandler::BindTarget(1, velocity);
    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTechnique("Particle");
    field.Draw();
    DEVICE_CALL(device.SetRenderTarget(1, nullptr));
    post.Blur(velocity, GetRenderTarget("VelocityField2"), VelocityBlurRounds);

    DEVICE_CALL(device.SetDepthStencilSurface(framework.depthSurface));
    DEVICE_CALL(device.SetRenderTarget(0, framework.backBuffer));
    framework.SetLetterboxViewport();
    post.MotionBlur(colour, velocity);
    CopyPictureTo("Color");

    DXEffectHandler::SetActiveEffect("EasiestFilterEver");
    DXEffectHandler::SetTextureBySemantic("BGTEX", colour.texture);
    DXEffectHandler::SetTechnique("EasiestFilterEver");
    filter.Draw();

    if (data.overlay == PartSceneData::Overlay::BeforeFade)
        post.Overlay(0);
    // Any value but exactly 0 fades, a NaN too.
    const float fade = whiteFade->valueAt(static_cast<float>(ShowRow()));
    if (!(fade == 0.0f)) {
        CopyPictureTo("Color");
        std::array<PostEffects::BloomLevel, PostEffects::BloomLevels> levels = {{
            {GetRenderTarget(BloomTarget(1, 'a')), GetRenderTarget(BloomTarget(1, 'b'))},
            {GetRenderTarget(BloomTarget(2, 'a')), GetRenderTarget(BloomTarget(2, 'b'))},
            {GetRenderTarget(BloomTarget(3, 'a')), GetRenderTarget(BloomTarget(3, 'b'))},
            {GetRenderTarget(BloomTarget(4, 'a')), GetRenderTarget(BloomTarget(4, 'b'))},
        }};
        post.Bloom(colour, levels, fade);
    }
    if (data.overlay == PartSceneData::Overlay::Last)
        post.Overlay(1);
}
