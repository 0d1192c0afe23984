#include "Modules/PostEffects/PostEffects.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/Camera.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/PostEffects/detail/LensPlanes.h"
#include "Modules/PostEffects/detail/LightTiles.h"
#include "Modules/PostEffects/detail/SamplingKernel.h"
#include "Modules/PostEffects/detail/SavedTarget.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace postfx;
using namespace postfx::detail;

namespace {

// The checked locks name fixed places in their messages, whatever the layout of this file.
const std::string SourcePath = ".\\Source\\Modules\\PostEffects\\PostEffects.cpp";
constexpr int PositionLockLine = 34;
constexpr int OcclusionRaysLine = 734;
constexpr int LightRaysLine = 819;

static_assert(sizeof(D3DXVECTOR3) == 3 * sizeof(float), "the kernel goes to the effect as packed floats");

// RTDIMPIXELINV: the size of one pixel of the target drawn into, its height negative.
void SetTargetPixelSize(uint32_t width, uint32_t height)
{
    const D3DXVECTOR2 size{1.0f / static_cast<float>(width), -1.0f / static_cast<float>(height)};
    DXEffectHandler::SetVec2BySemantic("RTDIMPIXELINV", &size.x);
}

void SetTargetPixelSize(const RenderTargetEntry& target)
{
    SetTargetPixelSize(target.width, target.height);
}

void SetViewportPixelSize()
{
    D3DVIEWPORT9 viewport;
    DEVICE_CALL(DXFramework::device->GetViewport(&viewport));
    SetTargetPixelSize(viewport.Width, viewport.Height);
}

// TX1DIMPIXELINV: the size of one texel of the input bound as COLTEX1.
void SetInputTexelSize(const RenderTargetEntry& input)
{
    const D3DXVECTOR2 size{1.0f / static_cast<float>(input.width), 1.0f / static_cast<float>(input.height)};
    DXEffectHandler::SetVec2BySemantic("TX1DIMPIXELINV", &size.x);
}

void SetTexture(const char* semantic, const RenderTargetEntry& entry)
{
    DXEffectHandler::SetTextureBySemantic(semantic, entry.texture);
}

void Bind(const RenderTargetEntry& target)
{
    RTHandler::BindTarget(0, target);
}

void ActivateEffect()
{
    DXEffectHandler::SetActiveEffect(PostEffects::EffectName);
}

// TX1DIMPIXELINV for the blurs: the step between the kernel's reads, in texels of the input.
void SetBlurStep(const RenderTargetEntry& input, float step)
{
    const D3DXVECTOR2 size{step / static_cast<float>(input.width), step / static_cast<float>(input.height)};
    DXEffectHandler::SetVec2BySemantic("TX1DIMPIXELINV", &size.x);
}

// TX1REGION: the part of COLTEX1 that a blur reads.
void SetBlurInput(const RenderTargetEntry& input, uint32_t width, uint32_t height)
{
    const D3DXVECTOR2 part{static_cast<float>(width) / static_cast<float>(input.width),
                           static_cast<float>(height) / static_cast<float>(input.height)};
    DXEffectHandler::SetVec2BySemantic("TX1REGION", &part.x);
}

} // namespace

void PostEffects::Load()
{
    screenQuad = std::make_unique<Quads>("", 1, 1);
    screenQuad->activeQuads = 1;
    DXEffectHandler& effects = *DXEffectHandler::Instance();
    effects.AddEffect(EffectName, EffectFile, DXFramework::Instance()->effectPool);
    effects.GetEffect(EffectName)->SetTechnique("BlitQuad");

    D3DXVECTOR3* corners = nullptr;
    // A lost device found here has been reset, and the reset loaded this module anew.
    if (!CheckDeviceCall(screenQuad->LockPositions(&corners), CallSite{SourcePath, PositionLockLine}))
        return;
    corners[0] = {-1.0f, 1.0f, 0.0f};
    corners[1] = {1.0f, 1.0f, 0.0f};
    corners[2] = {1.0f, -1.0f, 0.0f};
    corners[3] = {-1.0f, -1.0f, 0.0f};
    DEVICE_CALL(screenQuad->UnlockPositions());

    FillKernel(aoKernel);
    FillKernel(spareKernel);

    // Kept only once loaded, so that a failed load leaves the module plainly unloaded.
    auto sphere = std::make_unique<DXMesh>("", 0);
    sphere->LoadX(SphereMesh);
    lightSphere = std::move(sphere);
}

void PostEffects::Release()
{
    screenQuad.reset();
    lightSphere.reset();
}

void PostEffects::Loaded(const char* operation) const
{
    if (!screenQuad || !lightSphere)
        throw FrameworkEx(std::string("[PostEffects::") + operation + "] The module is not loaded");
}

const Camera& PostEffects::ActiveCamera(const char* operation)
{
    const SceneHandler* scenes = SceneHandler::Instance();
    const Scene* scene = scenes ? scenes->GetCurrentScene() : nullptr;
    const Camera* camera = scene ? scene->cameraSet.GetActiveCamera() : nullptr;
    if (!camera)
        throw FrameworkEx(std::string("[PostEffects::") + operation + "] No current scene with an active camera");
    return *camera;
}

bool PostEffects::WriteFarPlaneRays(const Camera& camera, int line)
{
    D3DXVECTOR3* normals = nullptr;
    if (!CheckDeviceCall(screenQuad->LockNormals(&normals), CallSite{SourcePath, line}))
        return false;
    const std::array<D3DXVECTOR3, 4> rays = FarPlaneRays(camera.lens);
    std::copy(rays.begin(), rays.end(), normals);
    DEVICE_CALL(screenQuad->UnlockNormals());
    return true;
}

void PostEffects::DrawQuad(const std::string& technique)
{
    DXEffectHandler::SetTechnique(technique);
    DXEffectHandler::DrawObject(*screenQuad);
}

void PostEffects::Ramp()
{
    Loaded("Ramp");
    ActivateEffect();
    DrawQuad("ramp");
}

void PostEffects::FillQuad(const D3DXVECTOR4& value)
{
    Loaded("FillQuad");
    ActivateEffect();
    DXEffectHandler::SetVec4BySemantic("VALUE1", &value.x);
    DrawQuad("FillQuad");
}

void PostEffects::Blit(IDirect3DBaseTexture9* texture, const D3DXVECTOR4& value)
{
    Loaded("Blit");
    ActivateEffect();
    DXEffectHandler::SetVec4BySemantic("VALUE1", &value.x);
    SetViewportPixelSize();
    DXEffectHandler::SetTextureBySemantic("COLTEX1", texture);
    DrawQuad("BlitQuad");
}

void PostEffects::Overlay(int n)
{
    Loaded("Overlay");
    ActivateEffect();
    DrawQuad("Overlay" + std::to_string(std::clamp(n, 0, 1)));
}

void PostEffects::MotionBlur(const RenderTargetEntry& colour, const RenderTargetEntry& velocity)
{
    MotionBlur(colour, velocity, {velocity.width, velocity.height});
}

void PostEffects::MotionBlur(const RenderTargetEntry& colour, const RenderTargetEntry& velocity, BlurSize region)
{
    Loaded("MotionBlur");
    ActivateEffect();
    SetInputTexelSize(colour);
    SetViewportPixelSize();
    SetTexture("COLTEX1", colour);
    SetTexture("VECTEX1", velocity);
    const D3DXVECTOR2 part{static_cast<float>(region.width) / static_cast<float>(velocity.width),
                           static_cast<float>(region.height) / static_cast<float>(velocity.height)};
    DXEffectHandler::SetVec2BySemantic("VECREGION", &part.x);
    DrawQuad("MotionBlur");
}

void PostEffects::DepthToNormal(const RenderTargetEntry& input)
{
    Loaded("DepthToNormal");
    ActivateEffect();
    SetTexture("COLTEX1", input);
    SetInputTexelSize(input);
    DrawQuad("DepthToNormal");
}

void PostEffects::AmbientOcclusion(const RenderTargetEntry& normalDepth)
{
    Loaded("AmbientOcclusion");
    const Camera& camera = ActiveCamera("AmbientOcclusion");
    if (!WriteFarPlaneRays(camera, OcclusionRaysLine))
        return;
    ActivateEffect();
    SetViewportPixelSize();
    SetTexture("COLTEX1", normalDepth);
    DXEffectHandler::SetFloatArrayBySemantic("SSAOKERNEL", &aoKernel[0].x);
    // One turn of the kernel for each pixel drawn, whatever the size drawn at.
    D3DVIEWPORT9 viewport;
    DEVICE_CALL(DXFramework::device->GetViewport(&viewport));
    DXEffectHandler::SetFloatBySemantic("BUFDIMX", static_cast<float>(viewport.Width));
    DXEffectHandler::SetFloatBySemantic("BUFDIMY", static_cast<float>(viewport.Height));
    DXEffectHandler::SetFloatBySemantic("SAMPLERADIUS", sampleRadius);
    DXEffectHandler::SetFloatBySemantic("SAMPLEDISTANCESCALE", sampleDistanceScale);
    DXEffectHandler::SetMatrixBySemantic("PROJECTIONMATRIX", &camera.projection);
    DrawQuad("AmbientOcclusion");
}

namespace {

// The part of the occlusion target that AmbientOcclusionBuffer draws.
BlurSize OcclusionRegion(const RenderTargetEntry& occlusion, bool halfSize)
{
    return halfSize ? BlurSize{occlusion.width / 2, occlusion.height / 2} : BlurSize{occlusion.width, occlusion.height};
}

} // namespace

void PostEffects::AmbientOcclusionBuffer(const RenderTargetEntry& normalDepth, const RenderTargetEntry& occlusion)
{
    Loaded("AmbientOcclusionBuffer");
    Bind(occlusion);
    const BlurSize region = OcclusionRegion(occlusion, occlusionAtHalfSize);
    const D3DVIEWPORT9 corner{0, 0, region.width, region.height, 0.0f, 1.0f};
    DEVICE_CALL(DXFramework::device->SetViewport(&corner));
    AmbientOcclusion(normalDepth);
}

void PostEffects::AmbientOcclusionCombine(const RenderTargetEntry& occlusion, const RenderTargetEntry& colour)
{
    Loaded("AmbientOcclusionCombine");
    ActivateEffect();
    SetViewportPixelSize();
    SetTexture("COLTEX1", colour);
    SetTexture("COLTEX2", occlusion);
    const BlurSize region = OcclusionRegion(occlusion, occlusionAtHalfSize);
    const D3DXVECTOR2 part{static_cast<float>(region.width) / static_cast<float>(occlusion.width),
                           static_cast<float>(region.height) / static_cast<float>(occlusion.height)};
    DXEffectHandler::SetVec2BySemantic("TX2REGION", &part.x);
    DrawQuad("AmbientOcclusionCombine");
}

void PostEffects::DepthOfField(const RenderTargetEntry& depth, const RenderTargetEntry& a, const RenderTargetEntry& b,
                               const RenderTargetEntry& colour, int passes)
{
    Loaded("DepthOfField");
    ActivateEffect();
    SetTexture("DEPTHTEX", depth);
    SavedTarget saved;

    const auto surface = [&](const LensRegion& region) -> const RenderTargetEntry& {
        return region.surface == LensSurface::Colour ? colour : region.surface == LensSurface::A ? a : b;
    };
    const std::vector<LensPass> plan =
        depthOfFieldPlanner({colour.width, colour.height}, {a.width, a.height}, {b.width, b.height}, passes);
    for (const LensPass& pass : plan) {
        DrawPlannedPass(surface(pass.from), {pass.from.width, pass.from.height}, surface(pass.to),
                        {pass.to.width, pass.to.height}, pass.step, pass.vertical ? "DOF_blurV" : "DOF_blurH");
    }

    saved.Restore();
    SetTargetPixelSize(saved.Viewport().Width, saved.Viewport().Height);
    SetTexture("COLTEX2", colour);
    SetTexture("COLTEX1", surface(plan.back().to));
    SetBlurInput(surface(plan.back().to), plan.back().to.width, plan.back().to.height);
    DrawQuad("DofQuad");
}

void PostEffects::Blur(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count)
{
    Loaded("Blur");
    ActivateEffect();
    DrawBlur(image, scratch, count);
}

BlurSize PostEffects::BlurVelocityRound(const RenderTargetEntry& image, const RenderTargetEntry& scratch)
{
    Loaded("BlurVelocityRound");
    ActivateEffect();
    const BlurSize whole{image.width, image.height}, scratchSize{scratch.width, scratch.height};
    const std::vector<BlurPass> passes =
        velocityAtHalfSize ? PlanHalfSizeRound(whole, scratchSize) : blurPlanner(whole, scratchSize, 1);
    DrawBlurPasses(image, scratch, passes);
    return {passes.back().to.width, passes.back().to.height};
}

void PostEffects::DrawBlur(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count)
{
    DrawBlurPasses(image, scratch, blurPlanner({image.width, image.height}, {scratch.width, scratch.height}, count));
}

void PostEffects::DrawBlurPasses(const RenderTargetEntry& image, const RenderTargetEntry& scratch,
                                 const std::vector<BlurPass>& passes)
{
    const auto surface = [&](const BlurRegion& region) -> const RenderTargetEntry& {
        return region.surface == BlurSurface::Image ? image : scratch;
    };
    for (const BlurPass& pass : passes) {
        DrawPlannedPass(surface(pass.from), {pass.from.width, pass.from.height}, surface(pass.to),
                        {pass.to.width, pass.to.height}, pass.step, pass.vertical ? "BlurV" : "BlurH");
    }
}

void PostEffects::DrawPlannedPass(const RenderTargetEntry& from, BlurSize fromRegion, const RenderTargetEntry& to,
                                  BlurSize toRegion, float step, const std::string& technique)
{
    SetTargetPixelSize(toRegion.width, toRegion.height);
    SetBlurStep(from, step);
    SetBlurInput(from, fromRegion.width, fromRegion.height);
    Bind(to);
    if (toRegion.width != to.width || toRegion.height != to.height) {
        const D3DVIEWPORT9 corner{0, 0, toRegion.width, toRegion.height, 0.0f, 1.0f};
        DEVICE_CALL(DXFramework::device->SetViewport(&corner));
    }
    SetTexture("COLTEX1", from);
    DrawQuad(technique);
}

void PostEffects::Bloom(const RenderTargetEntry& source, const std::array<BloomLevel, BloomLevels>& levels, float fade)
{
    Loaded("Bloom");
    for (size_t i = 0; i < levels.size(); ++i) {
        const RenderTargetEntry& level = levels[i].level;
        const RenderTargetEntry& scratch = levels[i].scratch;
        if (scratch.width != level.width || scratch.height != level.height)
            throw FrameworkEx("[PostEffects::Bloom] The scratch target of level " + std::to_string(i + 1) + " is " +
                              std::to_string(scratch.width) + " x " + std::to_string(scratch.height) +
                              ", the level " + std::to_string(level.width) + " x " + std::to_string(level.height));
    }
    ActivateEffect();
    SavedTarget saved;

    SetTexture("COLTEX1", source);
    for (const BloomLevel& level : levels) {
        Bind(level.level);
        SetTargetPixelSize(level.level);
        DrawQuad("DownSample");
        DrawBlur(level.level, level.scratch, BloomBlurRounds);
        SetTexture("COLTEX1", level.level);
    }
    const auto setLevels = [&] {
        SetTexture("COLTEX2", levels[0].level);
        SetTexture("COLTEX3", levels[1].level);
        SetTexture("COLTEX4", levels[2].level);
        SetTexture("COLTEX5", levels[3].level);
    };
    // The first level's scratch is free once its blur is done: the levels' glow is gathered there,
    // so that the full-size pass reads two textures instead of five.
    const RenderTargetEntry& gathered = levels[0].scratch;
    if (bloomLevelsGathered) {
        Bind(gathered);
        SetTargetPixelSize(gathered);
        setLevels();
        DrawQuad("BloomGather");
    }
    const D3DXVECTOR4 value{fade + 1.0f, fade, fade * fade, 0.0f};
    DXEffectHandler::SetVec4BySemantic("VALUE1", &value.x);

    saved.Restore();
    SetTexture("COLTEX1", source);
    if (bloomLevelsGathered)
        SetTexture("COLTEX2", gathered);
    else
        setLevels();
    DrawQuad("BloomFadeCombine");
}

void PostEffects::SetLightInputs(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                                 const Camera& camera)
{
    ActivateEffect();
    SetViewportPixelSize();
    SetTexture("COLTEX1", normalDepth);
    SetTexture("COLTEX3", colourTarget);
    // (0, 1, 0, 0) times the view: a direction, so only the rotation's second row.
    const D3DXMATRIX& view = camera.view;
    const D3DXVECTOR3 up{view(1, 0), view(1, 1), view(1, 2)};
    DXEffectHandler::SetVec3BySemantic("UPDIR", &up.x);
    const PlaneExtents farPlane = FarPlane(camera.lens);
    const D3DXVECTOR3 farClip{farPlane.halfWidth, farPlane.halfHeight, farPlane.distance};
    DXEffectHandler::SetVec3BySemantic("FARCLIPVALUES", &farClip.x);
}

void PostEffects::DrawPointLight(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                                 const D3DXVECTOR3& position, const D3DXVECTOR3& colour, float radius)
{
    Loaded("DrawPointLight");
    const Camera& camera = ActiveCamera("DrawPointLight");
    if (!WriteFarPlaneRays(camera, LightRaysLine))
        return;
    SetLightInputs(normalDepth, colourTarget, camera);

    const D3DXMATRIX& view = camera.view;
    D3DXVECTOR4 transformed;
    D3DXVec3Transform(&transformed, &position, &view);
    const D3DXVECTOR3 inView{transformed.x, transformed.y, transformed.z};
    const float inFront = InFrontOfNearPlane(camera.lens, inView);
    if (inFront < -2.0f * radius)
        return;
    // A sphere that reaches the near plane loses its near faces there: draw its far ones.
    DXEffectHandler::SetTechnique(inFront < 2.0f * radius ? "Def_PointLightBackside" : "Def_PointLight");

    DXEffectHandler::SetVec3BySemantic("DLIGHTPOS", &inView.x);
    DXEffectHandler::SetVec3BySemantic("DLIGHTCOL", &colour.x);
    DXEffectHandler::SetFloatBySemantic("DLIGHTRAD", radius);

    // A little larger than the light, so that the sphere's flat faces still cover its reach.
    D3DXMATRIX scaling, translation, world;
    D3DXMatrixScaling(&scaling, 1.05f * radius, 1.05f * radius, 1.05f * radius);
    D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
    D3DXMatrixMultiply(&world, &scaling, &translation);
    lightSphere->worldMatrix = world;
    lightSphere->previousWorldMatrix = world;
    DXEffectHandler::DrawObject(*lightSphere);
}

void PostEffects::DrawPointLights(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                                  std::span<const PointLight> lights)
{
    Loaded("DrawPointLights");
    const size_t perPass = std::clamp<size_t>(lightsPerPass, 1, MostLightsAPass);
    if (perPass == 1) {
        for (const PointLight& light : lights)
            DrawPointLight(normalDepth, colourTarget, light.position, light.colour, light.radius);
        return;
    }
    const Camera& camera = ActiveCamera("DrawPointLights");
    SetLightInputs(normalDepth, colourTarget, camera);
    const D3DXMATRIX& view = camera.view;
    D3DVIEWPORT9 whole;
    DEVICE_CALL(DXFramework::device->GetViewport(&whole));

    std::vector<D3DXVECTOR4> spheres, colours;
    std::vector<PixelRect> footprints;
    const PlaneExtents farPlane = FarPlane(camera.lens);
    for (const PointLight& light : lights) {
        D3DXVECTOR4 transformed;
        D3DXVec3Transform(&transformed, &light.position, &view);
        const D3DXVECTOR3 inView{transformed.x, transformed.y, transformed.z};
        // As far behind the near plane as DrawPointLight leaves out, it lights nothing shown; a
        // light of no reach lights nothing either (and its inverse radius would not be finite).
        if (InFrontOfNearPlane(camera.lens, inView) < -2.0f * light.radius || !(light.radius > 0.0f))
            continue;
        const PixelRect footprint = SphereFootprint(farPlane, inView, light.radius, whole.Width, whole.Height);
        if (footprint.Empty())
            continue;
        spheres.push_back({inView.x, inView.y, inView.z, 1.0f / light.radius});
        colours.push_back({light.colour.x, light.colour.y, light.colour.z, 0.0f});
        footprints.push_back(footprint);
    }

    // Each tile takes its own lights, perPass at a time; the rest of a pass's places stay black.
    for (const LightTile& tile : PlanLightTiles(footprints, whole.Width, whole.Height, LightTileSize)) {
        const D3DVIEWPORT9 area{whole.X + tile.area.left, whole.Y + tile.area.top, tile.area.right - tile.area.left,
                                tile.area.bottom - tile.area.top, whole.MinZ, whole.MaxZ};
        DEVICE_CALL(DXFramework::device->SetViewport(&area));
        for (size_t first = 0; first < tile.lights.size(); first += perPass) {
            // 48 floats each, as SetFloatArrayBySemantic writes.
            std::array<D3DXVECTOR4, MostLightsAPass> passSpheres{}, passColours{};
            const size_t count = std::min(perPass, tile.lights.size() - first);
            for (size_t i = 0; i < count; ++i) {
                passSpheres[i] = spheres[tile.lights[first + i]];
                passColours[i] = colours[tile.lights[first + i]];
            }
            DXEffectHandler::SetFloatArrayBySemantic("DLIGHTSPHERES", &passSpheres[0].x);
            DXEffectHandler::SetFloatArrayBySemantic("DLIGHTCOLOURS", &passColours[0].x);
            DrawQuad("Def_PointLights");
        }
    }
    DEVICE_CALL(DXFramework::device->SetViewport(&whole));
}
