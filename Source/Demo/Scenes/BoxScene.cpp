#include "Demo/Scenes/BoxScene.h"

#include "Demo/Scenes/SwarmFocus.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Input/KeyHandler.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Modules/BoxEnvironment/BoxEnvironment.h"
#include "Modules/ParticleDance/ParticleDance.h"

#include <vector>

namespace {

ModuleHandler& Modules()
{
    return *ModuleHandler::Instance();
}

struct LightGroup {
    int firstParticle; // -1: the fixed light
    int count;
    D3DXVECTOR3 colour;
    float radius;
};

const D3DXVECTOR3 FixedLight{-4.8f, 4.8f, -4.8f};
const std::array<LightGroup, 3> Lights = {{
    {0, 10, {0.5f, 0.7f, 0.8f}, 5.0f},
    {10, 10, {1.0f, 0.3f, 0.1f}, 5.0f},
    {-1, 1, {0.9f, 0.9f, 1.0f}, 15.0f},
}};

// The live tweaks' steps and ranges.
constexpr float AOSizeStep = 0.01f;
constexpr float AOSizeMaximum = 20.0f;
constexpr float AOStrengthStep = 0.5f;
constexpr float AOStrengthLimit = 800.0f;

} // namespace

BoxScene::BoxScene() : FamilyScene(SceneName)
{
    Modules().AddModule(std::make_unique<ParticleDance>("ParticleDance"));
    Modules().AddModule(std::make_unique<BoxEnvironment>("BoxEnv"));
}

void BoxScene::Load()
{
    DXFramework& framework = *DXFramework::Instance();
    LoadWhiteFade();
    DXEffectHandler& effects = *DXEffectHandler::Instance();
    effects.AddEffect("Default", "Default.fx", framework.effectPool);
    effects.AddEffect("liquid", "LiquidParticles.fx", framework.effectPool);
    LoadSceneData(SceneFile);
}

void BoxScene::Activate()
{
    const DisplaySettings& settings = DXFramework::Instance()->settings;
    const uint32_t width = settings.renderWidth;
    const uint32_t height = settings.renderHeight;
    AddRenderTarget("Blur1", D3DFMT_X8R8G8B8, width, height);
    AddRenderTarget("Blur2", D3DFMT_X8R8G8B8, width, height);
    AddRenderTarget("Depth", D3DFMT_R32F, width, height);
    AddRenderTarget("Color", D3DFMT_A8R8G8B8, width, height);
    AddRenderTarget("FinalColor", D3DFMT_A8R8G8B8, width, height);
    AddRenderTarget("VelocityField1", D3DFMT_G16R16F, width, height);
    AddRenderTarget("VelocityField2", D3DFMT_G16R16F, width, height);
    AddRenderTarget("SSAO", D3DFMT_A8R8G8B8, width, height);
    AddRenderTarget("SmokeDepth", D3DFMT_R32F, width, height);
    AddRenderTarget("NormalDepthMap", D3DFMT_A32B32G32R32F, width, height);
    AddBloomTargets();
}

void BoxScene::Deactivate()
{
    ReleaseTargets();
}

void BoxScene::Update()
{
    DXEffect* global = DXEffectHandler::Instance()->GetEffect("Global");
    if (!global)
        throw FrameworkEx("[" + GetName() + "::Update] The effect \"Global\" is not registered");
    ParticleDance& dance = Modules().GetModuleAs<ParticleDance>("ParticleDance");
    // A Global effect without the focus has nothing to override.
    if (const D3DXHANDLE handle = global->GetHandleBySemantic("FOCUS_MAXZ")) {
        const Camera* camera = cameraSet.GetActiveCamera();
        if (!camera)
            throw FrameworkEx("[" + GetName() + "::Update] The scene has no camera to focus through");
        const SwarmFocus focus = FocusOnSwarm(dance.positions, camera->view);
        const float values[2] = {focus.distance, focus.range};
        DEVICE_CALL(global->effect->SetFloatArray(handle, values, 2));
    }

    dance.SortParticles();
    Modules().GetModule("BoxEnv").Update();
}

void BoxScene::Step()
{
    Modules().GetModule("EasiestFilterEver").Update();
    Modules().GetModuleAs<ParticleDance>("ParticleDance").Update();
}

void BoxScene::DrawPointLights()
{
    PostEffects& post = Modules().GetModuleAs<PostEffects>("PostFX");
    const ParticleDance& dance = Modules().GetModuleAs<ParticleDance>("ParticleDance");
    const RenderTargetEntry& normalDepth = GetRenderTarget("NormalDepthMap");
    const RenderTargetEntry& colour = GetRenderTarget("Color");
    std::vector<PostEffects::PointLight> lights;
    for (const LightGroup& group : Lights)
        for (int i = 0; i < group.count; ++i) {
            const D3DXVECTOR3& position =
                group.firstParticle < 0 ? FixedLight : dance.positions.at(static_cast<size_t>(group.firstParticle + i));
            lights.push_back({position, group.colour, group.radius});
        }
    post.DrawPointLights(normalDepth, colour, lights);
}

void BoxScene::Render()
{
    IDirect3DDevice9& device = *DXFramework::device;
    DXModule& filter = Modules().GetModule("EasiestFilterEver");
    PostEffects& post = Modules().GetModuleAs<PostEffects>("PostFX");
    DXModule& box = Modules().GetModule("BoxEnv");
    ParticleDance& dance = Modules().GetModuleAs<ParticleDance>("ParticleDance");

    // The scene's linear depth, colour and velocity: the box, then the swarm's colour and its depth.
    RTHandler::BindTarget(0, GetRenderTarget("Depth"));
    post.FillQuad({100.0f, 100.0f, 100.0f, 100.0f});
    RTHandler::BindTarget(0, GetRenderTarget("Color"));
    DEVICE_CALL(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
    RTHandler::BindTarget(1, GetRenderTarget("Depth"));
    RTHandler::BindTarget(2, GetRenderTarget("VelocityField1"));
    DXEffectHandler::SetActiveEffect("Default");
    DXEffectHandler::SetTechnique("Default");
    box.Draw();
    DEVICE_CALL(device.SetRenderTarget(1, nullptr));
    DEVICE_CALL(device.SetRenderTarget(2, nullptr));
    dance.DrawDrops(GetRenderTarget("Color"), GetRenderTarget("VelocityField1"), GetRenderTarget("Depth"));

    DXEffectHandler::SetActiveEffect("Global");
    DXEffectHandler::SetTextureBySemantic("DEPTHTEX", GetRenderTarget("Depth").texture);
    post.Blur(GetRenderTarget("Depth"), GetRenderTarget("SmokeDepth"), 1);
    RTHandler::BindTarget(0, GetRenderTarget("NormalDepthMap"));
    post.DepthToNormal(GetRenderTarget("Depth"));

    const float fade = WhiteFade();
    KeyHandler& keys = *KeyHandler::Instance();
    keys.AdjustValue(AOSizeKey, PostEffects::SampleRadius(), 0.0f, AOSizeMaximum, AOSizeStep);
    keys.AdjustValue(AOStrengthKey, PostEffects::SampleDistanceScale(), -AOStrengthLimit, AOStrengthLimit,
                     AOStrengthStep);
    if (fade >= OcclusionOnly) {
        BindBackBuffer();
        post.AmbientOcclusion(GetRenderTarget("NormalDepthMap"));
        return;
    }

    // Lighting: the occlusion, the 21 lights added up, the occlusion combined in.
    post.AmbientOcclusionBuffer(GetRenderTarget("NormalDepthMap"), GetRenderTarget("SSAO"));
    RTHandler::BindTarget(0, GetRenderTarget("FinalColor"));
    DEVICE_CALL(device.Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0.0f, 0));
    DrawPointLights();
    RTHandler::BindTarget(0, GetRenderTarget("Color"));
    post.AmbientOcclusionCombine(GetRenderTarget("SSAO"), GetRenderTarget("FinalColor"));

    // Lens: depth of field, then motion blur along the blurred velocity, with the fade's bloom.
    RTHandler::BindTarget(0, GetRenderTarget("FinalColor"));
    post.DepthOfField(GetRenderTarget("Depth"), GetRenderTarget("Blur1"), GetRenderTarget("Blur2"),
                      GetRenderTarget("Color"), 5);
    const RenderTargetEntry& velocity = GetRenderTarget("VelocityField1");
    const postfx::BlurSize velocityRegion = post.BlurVelocityRound(velocity, GetRenderTarget("VelocityField2"));
    if (fade != 0.0f) {
        RTHandler::BindTarget(0, GetRenderTarget("Color"));
        post.MotionBlur(GetRenderTarget("FinalColor"), velocity, velocityRegion);
        BindBackBuffer();
        post.Bloom(GetRenderTarget("Color"), BloomLevels(), fade);
    } else {
        BindBackBuffer();
        post.MotionBlur(GetRenderTarget("FinalColor"), velocity, velocityRegion);
    }

    CopyPictureTo("Color");
    DrawScreenFilter(filter, "Color");
}
