#include "Demo/Scenes/PartScene.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/ParticleField/ParticleField.h"

namespace {

ModuleHandler& Modules()
{
    return *ModuleHandler::Instance();
}

} // namespace

PartScene::PartScene(const PartSceneData& data) : FamilyScene(data.name), data(data)
{
    if (data.intro)
        Modules().AddModule(std::make_unique<ParticleField>("ParticleField"));
}

void PartScene::Load()
{
    LoadWhiteFade();
    if (data.intro) {
        DXFramework& framework = *DXFramework::Instance();
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
    AddBloomTargets();
}

void PartScene::Deactivate()
{
    ReleaseTargets();
}

void PartScene::Start()
{
    Modules().GetModuleAs<ParticleField>("ParticleField").ResetParticles(data.colours);
}

void PartScene::CheckReloadedLights(const LightsByName& candidate) const
{
    FindEmitters(data.emitters, data.sceneFile, candidate, "LoadSceneData");
}

void PartScene::Step()
{
    const std::array<const SpotLight*, 3> emitters = FindEmitters(data.emitters, data.sceneFile);
    Modules().GetModuleAs<ParticleField>("ParticleField").UpdateParticles(*emitters[0], *emitters[1], *emitters[2]);
    Modules().GetModule("EasiestFilterEver").Update();
}

void PartScene::Update()
{
    Modules().GetModuleAs<ParticleField>("ParticleField").SortParticles();
}

void PartScene::Render()
{
    PostEffects& post = Modules().GetModuleAs<PostEffects>("PostFX");
    DXModule& filter = Modules().GetModule("EasiestFilterEver");

    // The velocity buffer starts each frame at rest.
    RTHandler::BindTarget(0, GetRenderTarget("VelocityField1"));
    post.FillQuad({0.0f, 0.0f, 0.0f, 0.0f});
    DrawParticles(post);

    MotionBlurIntoBackBuffer(post, "Color", "VelocityField1", "VelocityField2");
    DrawScreenFilter(filter, "Color");
    if (data.overlay == PartSceneData::Overlay::BeforeFade)
        post.Overlay(0);
    FadeToWhite(post, "Color");
    if (data.overlay == PartSceneData::Overlay::Last)
        post.Overlay(1);
}

void PartScene::RenderTrails()
{
    // A background leaves no trails.
    if (data.ramp) {
        Render();
        return;
    }
    // The specks over the faded last picture, without their motion blur: the frames after blur
    // their own specks, and these fade out beneath them. A white fade also copies the filtered
    // picture into the trails; that is left to the whole frames, at ~2 dB from the still (14.5 s)
    // for a quarter of the cost.
    DrawParticles(Modules().GetModuleAs<PostEffects>("PostFX"));
}

void PartScene::SeedTrails()
{
    if (data.ramp) {
        Render();
        return;
    }
    DrawParticles(Modules().GetModuleAs<PostEffects>("PostFX"), true);
}

void PartScene::DrawParticles(PostEffects& post, bool seedTrails)
{
    IDirect3DDevice9& device = *DXFramework::device;
    // The colour keeps last frame's picture where no background is drawn, and only its depth is
    // cleared.
    RTHandler::BindTarget(0, GetRenderTarget("Color"));
    DEVICE_CALL(device.Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0));
    if (data.ramp)
        post.Ramp();

    // Colour into target 0, velocity into target 1. Without a background the trails fade over
    // last frame's picture.
    RTHandler::BindTarget(1, GetRenderTarget("VelocityField1"));
    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTechnique("Particle");
    SetParticleTrails(!data.ramp, seedTrails);
    Modules().GetModuleAs<ParticleField>("ParticleField").Draw();
    // The other draws with these specks (the scroller's among them) see plain ones.
    if (seedTrails)
        SetParticleTrails(false);
    DEVICE_CALL(device.SetRenderTarget(1, nullptr));
}
