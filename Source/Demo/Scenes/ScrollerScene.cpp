#include "Demo/Scenes/ScrollerScene.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Timer/Timer.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/InsideCube/InsideCube.h"
#include "Modules/Scroller/Scroller.h"

namespace {

ModuleHandler& Modules()
{
    return *ModuleHandler::Instance();
}

const std::array<std::string, 3> Emitters = {"emitter1_scroller", "emitter2_scroller", "emitter3_scroller"};

struct CubeFace {
    D3DXVECTOR3 look;
    D3DXVECTOR3 up;
};

// In the device's face order +X, -X, +Y, -Y, +Z, -Z.
const std::array<CubeFace, 6> CubeFaces = {{
    {{1, 0, 0}, {0, 1, 0}},
    {{-1, 0, 0}, {0, 1, 0}},
    {{0, 1, 0}, {0, 0, -1}},
    {{0, -1, 0}, {0, 0, 1}},
    {{0, 0, 1}, {0, 1, 0}},
    {{0, 0, -1}, {0, 1, 0}},
}};

const D3DXVECTOR3 EnvironmentEye{0.0f, 0.5f, 0.0f};

void ClearDepth()
{
    DEVICE_CALL(DXFramework::device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
}

} // namespace

// Cool teal and ice against the gold text; the crash at 51 s turns them to violet and rose.
const ParticleColours ScrollerScene::StartColours = {{
    {0.1f, 0.7f, 0.9f, 0},
    {0.3f, 0.9f, 1, 0},
    {0.15f, 0.45f, 0.85f, 0},
    {0.05f, 0.5f, 0.6f, 0},
    {0.6f, 0.95f, 1, 0},
    {0.2f, 0.3f, 0.8f, 0},
}};

const ParticleColours ScrollerScene::RecolourColours = {{
    {0.75f, 0.25f, 0.7f, 0},
    {0.35f, 0.85f, 1, 0},
    {0.55f, 0.2f, 0.85f, 0},
    {0.45f, 0.12f, 0.5f, 0},
    {0.85f, 0.45f, 0.7f, 0},
    {0.2f, 0.45f, 0.9f, 0},
}};

const std::array<D3DXVECTOR3, ScrollerScene::LightCount> ScrollerScene::LightBases = {{
    {4, 4, 4},
    {-4, 4, 4},
    {0.3f, 4, 0.2f},
    {4, 1, -4},
    {-4, 0, -4},
}};

ScrollerScene::ScrollerScene() : FamilyScene(SceneName)
{
    Modules().AddModule(std::make_unique<Scroller>("TindrevikScroller"));
    Modules().AddModule(std::make_unique<InsideCube>("TindreVik"));
    Modules().AddModule(std::make_unique<EasiestFilterEver>("EasiestFilterEver"));
}

void ScrollerScene::Load()
{
    LoadWhiteFade();
    LoadSceneData(SceneFile);
}

void ScrollerScene::Activate()
{
    const DisplaySettings& settings = DXFramework::Instance()->settings;
    AddCubeTarget("EnvCube", environmentEdge);
    AddRenderTarget("Color", D3DFMT_A8R8G8B8, settings.renderWidth, settings.renderHeight);
    AddRenderTarget("VelocityField1", D3DFMT_G16R16F, settings.renderWidth, settings.renderHeight);
    AddRenderTarget("VelocityField2", D3DFMT_G16R16F, settings.renderWidth, settings.renderHeight);
    AddBloomTargets();
}

void ScrollerScene::Deactivate()
{
    ReleaseTargets();
}

void ScrollerScene::Start()
{
    Modules().GetModuleAs<ParticleField>("ParticleField").ResetParticles(StartColours);
}

void ScrollerScene::CheckReloadedLights(const LightsByName& candidate) const
{
    FindEmitters(Emitters, SceneFile, candidate, "LoadSceneData");
}

void ScrollerScene::Step()
{
    const std::array<const SpotLight*, 3> emitters = FindEmitters(Emitters, SceneFile);
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    field.UpdateParticles(*emitters[0], *emitters[1], *emitters[2]);
    Modules().GetModule("EasiestFilterEver").Update();
    if (Timer::GetElapsed() > RecolourTime && !recoloured) {
        recoloured = true;
        field.ResetParticles(RecolourColours);
    }
}

void ScrollerScene::Update()
{
    Modules().GetModuleAs<ParticleField>("ParticleField").SortParticles();
    Modules().GetModule("TindreVik").Update();
    Modules().GetModule("TindrevikScroller").Update();
}

D3DXVECTOR3 ScrollerScene::LightPosition(int i, double t)
{
    D3DXMATRIX rotation;
    D3DXMatrixRotationY(&rotation, static_cast<float>((1.0 + 0.1 * i) * t * 0.2));
    D3DXVECTOR4 turned;
    D3DXVec3Transform(&turned, &LightBases.at(static_cast<size_t>(i)), &rotation);
    return {turned.x, turned.y, turned.z};
}

void ScrollerScene::RenderEnvironment()
{
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    const CubeTargetEntry& environment = GetCubeTarget("EnvCube");
    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTechnique("EnvParticle");
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovRH(&projection, 1.5707964f, 1.0f, 0.01f, 200.0f);
    // Mirrored in x: a cube map is seen from inside.
    projection(0, 0) = -projection(0, 0);
    for (uint32_t face = 0; face < CubeFaces.size(); ++face) {
        const D3DXVECTOR3& look = CubeFaces[face].look;
        const D3DXVECTOR3 at{EnvironmentEye.x + look.x, EnvironmentEye.y + look.y, EnvironmentEye.z + look.z};
        D3DXMATRIX view, viewProjection;
        D3DXMatrixLookAtRH(&view, &EnvironmentEye, &at, &CubeFaces[face].up);
        D3DXMatrixMultiply(&viewProjection, &view, &projection);
        DXEffectHandler::SetMatrixBySemantic("MATORTH", &viewProjection);
        RTCubeHandler::BindCubeFace(face, environment);
        DEVICE_CALL(DXFramework::device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0));
        field.Draw();
    }
}

void ScrollerScene::Render()
{
    IDirect3DDevice9& device = *DXFramework::device;
    PostEffects& post = Modules().GetModuleAs<PostEffects>("PostFX");
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    DXModule& filter = Modules().GetModule("EasiestFilterEver");
    const double time = Timer::GetElapsed();

    RenderEnvironment();
    RTHandler::BindTarget(0, GetRenderTarget("VelocityField1"));
    post.FillQuad({0.0f, 0.0f, 0.0f, 0.0f});

    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTextureBySemantic("CUBETX", GetCubeTarget("EnvCube").texture);
    for (int i = 0; i < LightCount; ++i) {
        const D3DXVECTOR3 light = LightPosition(i, time);
        DXEffectHandler::SetVec3BySemantic("light" + std::to_string(i + 1), &light.x);
    }

    if (solidsThroughBackBuffer)
        RenderSolidsThroughBackBuffer(post);
    else
        RenderSolidsIntoColour(post);

    // The particles over the solid picture, hidden behind the solids' depth.
    RTHandler::BindTarget(1, GetRenderTarget("VelocityField1"));
    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTechnique("Particle");
    SetParticleTrails(false);
    field.Draw();
    DEVICE_CALL(device.SetRenderTarget(1, nullptr));

    MotionBlurIntoBackBuffer(post, "Color", "VelocityField1", "VelocityField2");
    DrawScreenFilter(filter, "Color");
    FadeToWhite(post, "Color");
}

void ScrollerScene::DrawSolids(PostEffects& post)
{
    InsideCube& cubes = Modules().GetModuleAs<InsideCube>("TindreVik");
    // Neither the background nor the floor glow writes depth: what the picture leaves in it is
    // the cubes' and the text's.
    post.Ramp();
    DXEffectHandler::SetActiveEffect("Tindrevik");
    DXEffectHandler::SetTechnique("Metal");
    cubes.DrawCubes();
    Modules().GetModuleAs<Scroller>("TindrevikScroller").Draw();
    DXEffectHandler::SetActiveEffect("Default");
    DXEffectHandler::SetTechnique("Default_tex");
    cubes.DrawPlane();
}

void ScrollerScene::RenderSolidsIntoColour(PostEffects& post)
{
    RTHandler::BindTarget(0, GetRenderTarget("Color"));
    ClearDepth();
    DrawSolids(post);
}

void ScrollerScene::RenderSolidsThroughBackBuffer(PostEffects& post)
{
    BindBackBuffer();
    ClearDepth();
    DrawSolids(post);
    CopyPictureTo("Color");

    RTHandler::BindTarget(0, GetRenderTarget("Color"));
    ClearDepth();
    DXEffectHandler::SetActiveEffect("Global");
    DXEffectHandler::SetTechnique("Zbuffer");
    Modules().GetModuleAs<InsideCube>("TindreVik").DrawCubes();
    DXEffectHandler::SetActiveEffect("Tindrevik");
    Modules().GetModuleAs<Scroller>("TindrevikScroller").DrawDepth();
}
