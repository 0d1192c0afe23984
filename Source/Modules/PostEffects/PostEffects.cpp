#include "Modules/PostEffects/PostEffects.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/Camera.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/PostEffects/detail/LensPlanes.h"
#include "Modules/PostEffects/detail/SamplingKernel.h"
#include "Modules/PostEffects/detail/SavedTarget.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// The blurs at reduced size. A blur of several rounds is drawn with the same passes, V and H in
// turn, into the same image and scratch, but the first passes shrink the image into a corner of
// them, the passes between blur it there and the last brings it back to full size in the image,
// reading once between the small texels. The first pass (V) halves the rows with its kernel and
// the columns by reading between each pair of them, which averages them; where the blur spreads
// wide enough, the second (H) halves the columns once more with its kernel. Each pass reads the
// shader's GaussianAlong kernel with its reads a chosen step apart (TX1DIMPIXELINV carries the
// step, not the texel), and the steps make the passes along an axis spread the picture as far as
// the rounds at full size: the same variance. For a kernel this wide the picture is then the same
// within a few hundredths of a lone texel's blurred peak, and far closer for anything smoother.

// GaussianAlong's reads (Data/Shaders/PostEffects.fx): offsets in steps, and weights.
constexpr std::array<double, 5> KernelOffsets{0.0, 1.3846153846, -1.3846153846, 3.2307692308, -3.2307692308};
constexpr std::array<double, 5> KernelWeights{0.2270270270, 0.3162162162, 0.3162162162, 0.0702702703, 0.0702702703};
// The step of a pass that halves its own axis with its kernel, in texels of its input: wide enough
// that halving does not alias a lone texel's place away, narrow enough to leave the passes between
// some spreading to do.
constexpr double HalvingStep = 0.75;
// A side shorter than this is cheap at full size and too short to halve without its borders
// showing.
constexpr uint32_t ShortestHalvedSide = 64;
// With fewer rounds there is no pass between shrinking and restoring to make up the spread.
constexpr int FewestHalvedRounds = 3;

// In input texels squared: the variance of the kernel with its reads step input texels apart,
// for an output texel whose centre lies offset input texels past an input texel's centre. Each
// linear read spreads its weight over two texels, which counts too.
double KernelVariance(double step, double offset)
{
    double variance = 0.0;
    for (size_t i = 0; i < KernelOffsets.size(); ++i) {
        const double read = KernelOffsets[i] * step;
        const double between = offset + read - std::floor(offset + read);
        variance += KernelWeights[i] * (read * read + between * (1.0 - between));
    }
    return variance;
}

// How one axis of a blur at reduced size is drawn. The first pass runs along the rows (V) and the
// last along the columns (H): the columns are halved first across, by reading between pairs, and
// restored along; the rows the other way round.
struct AxisPlan {
    uint32_t factor = 1; // how many times smaller the passes between draw it: 1, 2 or 4
    bool columns = false;
};

// What shrinking and restoring an axis spread the picture by besides the passes between, in
// full-size texels squared, and whether the axis's own first pass halves it with its kernel.
struct Reshaping {
    double variance = 0.0;
    bool kernelHalving = false;
};

Reshaping ReshapingOf(const AxisPlan& plan)
{
    Reshaping reshaping;
    double inputTexel = 1.0; // full-size texels per texel of what the axis's first pass reads
    if (plan.columns) {
        reshaping.variance += KernelVariance(0.0, 0.5);
        inputTexel = 2.0;
    }
    if (plan.factor > inputTexel) {
        reshaping.variance += KernelVariance(HalvingStep, 0.5) * inputTexel * inputTexel;
        reshaping.kernelHalving = true;
    }
    // The restoring pass's one linear read: full-size texel j lies (j + 0.5) / factor - 0.5 small
    // texels past a small texel's centre.
    const double factor = plan.factor;
    double restoring = 0.0;
    for (uint32_t j = 0; j < plan.factor; ++j)
        restoring += KernelVariance(0.0, (j + 0.5) / factor - 0.5);
    reshaping.variance += restoring / factor * factor * factor;
    return reshaping;
}

// In full-size texels squared: what the passes between must still spread an axis by; negative
// when shrinking and restoring alone spread it further than the rounds at full size would.
double SpreadLeft(int rounds, const Reshaping& reshaping)
{
    return rounds * KernelVariance(1.0, 0.0) - reshaping.variance;
}

// The steps of the rounds' passes along one axis. An axis drawn at full size takes full rounds.
std::vector<float> AxisSteps(int rounds, const AxisPlan& plan)
{
    if (plan.factor == 1)
        return std::vector<float>(static_cast<size_t>(rounds), 1.0f);
    const Reshaping reshaping = ReshapingOf(plan);
    const int between = rounds - (reshaping.kernelHalving ? 1 : 0) - (plan.columns ? 1 : 0);
    const double factor = plan.factor;
    // In small texels squared.
    const double each = std::max(SpreadLeft(rounds, reshaping), 0.0) / (factor * factor * between);
    // The variance grows with the step (the linear reads' share only ripples): bisect.
    double low = 0.0, high = 4.0;
    for (int i = 0; i < 40; ++i) {
        const double middle = (low + high) / 2.0;
        (KernelVariance(middle, 0.0) < each ? low : high) = middle;
    }
    std::vector<float> steps(static_cast<size_t>(rounds), static_cast<float>(low));
    if (reshaping.kernelHalving)
        steps.front() = static_cast<float>(HalvingStep);
    if (plan.columns)
        steps.back() = 0.0f;
    return steps;
}

bool Halvable(uint32_t side)
{
    return side % 2 == 0 && side >= ShortestHalvedSide;
}

// The rows: halved by the first pass when even and long enough.
AxisPlan RowPlan(uint32_t height)
{
    return {Halvable(height) ? 2u : 1u, false};
}

// The columns: halved across by the first pass when even and long enough, and once more by the
// second when the half is too and the rounds spread the picture further than that does.
AxisPlan ColumnPlan(uint32_t width, int rounds)
{
    const AxisPlan quartered{4, true};
    if (Halvable(width) && Halvable(width / 2) && SpreadLeft(rounds, ReshapingOf(quartered)) >= 0.0)
        return quartered;
    return {Halvable(width) ? 2u : 1u, true};
}

// TX1DIMPIXELINV for the blurs: the step between the kernel's reads, in texels of the input.
void SetBlurStep(const RenderTargetEntry& input, float step)
{
    const D3DXVECTOR2 size{step / static_cast<float>(input.width), step / static_cast<float>(input.height)};
    DXEffectHandler::SetVec2BySemantic("TX1DIMPIXELINV", &size.x);
}

// A blur's input or output: the target's part of that size from its top-left corner.
struct Region {
    const RenderTargetEntry& target;
    uint32_t width, height;
};

// TX1REGION: the part of COLTEX1 that a blur reads.
void SetBlurInput(const Region& input)
{
    const D3DXVECTOR2 part{static_cast<float>(input.width) / static_cast<float>(input.target.width),
                           static_cast<float>(input.height) / static_cast<float>(input.target.height)};
    DXEffectHandler::SetVec2BySemantic("TX1REGION", &part.x);
}

void SetWholeBlurInput()
{
    const D3DXVECTOR2 whole{1.0f, 1.0f};
    DXEffectHandler::SetVec2BySemantic("TX1REGION", &whole.x);
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
    Loaded("MotionBlur");
    ActivateEffect();
    SetInputTexelSize(colour);
    SetViewportPixelSize();
    SetTexture("COLTEX1", colour);
    SetTexture("VECTEX1", velocity);
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
    DXEffectHandler::SetFloatBySemantic("BUFDIMX", static_cast<float>(normalDepth.width));
    DXEffectHandler::SetFloatBySemantic("BUFDIMY", static_cast<float>(normalDepth.height));
    DXEffectHandler::SetFloatBySemantic("SAMPLERADIUS", sampleRadius);
    DXEffectHandler::SetFloatBySemantic("SAMPLEDISTANCESCALE", sampleDistanceScale);
    DXEffectHandler::SetMatrixBySemantic("PROJECTIONMATRIX", &camera.projection);
    DrawQuad("AmbientOcclusion");
}

void PostEffects::AmbientOcclusionCombine(const RenderTargetEntry& occlusion, const RenderTargetEntry& colour)
{
    Loaded("AmbientOcclusionCombine");
    ActivateEffect();
    SetViewportPixelSize();
    SetTexture("COLTEX1", colour);
    SetTexture("COLTEX2", occlusion);
    DrawQuad("AmbientOcclusionCombine");
}

void PostEffects::DepthOfField(const RenderTargetEntry& depth, const RenderTargetEntry& a, const RenderTargetEntry& b,
                               const RenderTargetEntry& colour, int passes)
{
    Loaded("DepthOfField");
    ActivateEffect();
    SetTexture("DEPTHTEX", depth);
    SavedTarget saved;

    const auto horizontal = [&](const RenderTargetEntry& from) {
        SetTargetPixelSize(a);
        SetInputTexelSize(from);
        Bind(a);
        SetTexture("COLTEX1", from);
        DrawQuad("DOF_blurH");
    };
    const auto vertical = [&] {
        SetTargetPixelSize(b);
        SetInputTexelSize(a);
        Bind(b);
        SetTexture("COLTEX1", a);
        DrawQuad("DOF_blurV");
    };
    horizontal(colour);
    vertical();
    for (int pass = 1; pass < passes; ++pass) {
        horizontal(b);
        vertical();
    }

    saved.Restore();
    SetTargetPixelSize(saved.Viewport().Width, saved.Viewport().Height);
    SetTexture("COLTEX2", colour);
    SetTexture("COLTEX1", b);
    DrawQuad("DofQuad");
}

void PostEffects::Blur(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count)
{
    Loaded("Blur");
    ActivateEffect();
    if (!BlurAtReducedSize(image, scratch, count))
        BlurRounds(image, scratch, count);
}

void PostEffects::BlurRounds(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count)
{
    SetWholeBlurInput();
    for (int round = 0; round < count; ++round) {
        SetTargetPixelSize(scratch);
        SetInputTexelSize(image);
        Bind(scratch);
        SetTexture("COLTEX1", image);
        DrawQuad("BlurV");

        SetTargetPixelSize(image);
        SetInputTexelSize(scratch);
        Bind(image);
        SetTexture("COLTEX1", scratch);
        DrawQuad("BlurH");
    }
}

bool PostEffects::BlurAtReducedSize(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count)
{
    if (fullSizeBlurs || count < FewestHalvedRounds)
        return false;
    const AxisPlan columns = ColumnPlan(image.width, count), rows = RowPlan(image.height);
    // After the first pass, and after the second.
    const uint32_t firstWidth = columns.factor > 1 ? image.width / 2 : image.width;
    const uint32_t width = image.width / columns.factor, height = image.height / rows.factor;
    if ((columns.factor == 1 && rows.factor == 1) || scratch.width < firstWidth || scratch.height < height)
        return false;
    const std::vector<float> stepsX = AxisSteps(count, columns);
    const std::vector<float> stepsY = AxisSteps(count, rows);
    // The first pass shrinks the image into the scratch's top-left corner, the second into the
    // image's; the passes after them go from corner to corner.
    const Region whole{image, image.width, image.height}, first{scratch, firstWidth, height},
        inImage{image, width, height}, inScratch{scratch, width, height};
    const auto pass = [&](const Region& from, const Region& to, const char* technique, float step) {
        SetTargetPixelSize(to.width, to.height);
        SetBlurStep(from.target, step);
        SetBlurInput(from);
        Bind(to.target);
        if (to.width != to.target.width || to.height != to.target.height) {
            const D3DVIEWPORT9 corner{0, 0, to.width, to.height, 0.0f, 1.0f};
            DEVICE_CALL(DXFramework::device->SetViewport(&corner));
        }
        SetTexture("COLTEX1", from.target);
        DrawQuad(technique);
    };
    pass(whole, first, "BlurV", stepsY[0]);
    pass(first, inImage, "BlurH", stepsX[0]);
    for (int round = 1; round < count; ++round) {
        pass(inImage, inScratch, "BlurV", stepsY[static_cast<size_t>(round)]);
        pass(inScratch, round == count - 1 ? whole : inImage, "BlurH", stepsX[static_cast<size_t>(round)]);
    }
    return true;
}

void PostEffects::BloomBlur(const RenderTargetEntry& level, const RenderTargetEntry& scratch)
{
    if (BlurAtReducedSize(level, scratch, BloomBlurRounds))
        return;
    // Both directions use the level's sizes, which is why the scratch must match them.
    SetWholeBlurInput();
    SetInputTexelSize(level);
    SetTargetPixelSize(level);
    for (int round = 0; round < BloomBlurRounds; ++round) {
        SetTexture("COLTEX1", level);
        Bind(scratch);
        DrawQuad("BlurV");
        SetTexture("COLTEX1", scratch);
        Bind(level);
        DrawQuad("BlurH");
    }
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
        BloomBlur(level.level, level.scratch);
        SetTexture("COLTEX1", level.level);
    }
    const D3DXVECTOR4 value{fade + 1.0f, fade, fade * fade, 0.0f};
    DXEffectHandler::SetVec4BySemantic("VALUE1", &value.x);

    saved.Restore();
    SetTexture("COLTEX1", source);
    SetTexture("COLTEX2", levels[0].level);
    SetTexture("COLTEX3", levels[1].level);
    SetTexture("COLTEX4", levels[2].level);
    SetTexture("COLTEX5", levels[3].level);
    DrawQuad("BloomFadeCombine");
}

void PostEffects::DrawPointLight(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                                 const D3DXVECTOR3& position, const D3DXVECTOR3& colour, float radius)
{
    Loaded("DrawPointLight");
    const Camera& camera = ActiveCamera("DrawPointLight");
    if (!WriteFarPlaneRays(camera, LightRaysLine))
        return;
    ActivateEffect();
    SetViewportPixelSize();
    SetTexture("COLTEX1", normalDepth);
    SetTexture("COLTEX3", colourTarget);

    // (0, 1, 0, 0) times the view: a direction, so only the rotation's second row.
    const D3DXMATRIX& view = camera.view;
    const D3DXVECTOR3 up{view(1, 0), view(1, 1), view(1, 2)};
    DXEffectHandler::SetVec3BySemantic("UPDIR", &up.x);

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
    const PlaneExtents farPlane = FarPlane(camera.lens);
    const D3DXVECTOR3 farClip{farPlane.halfWidth, farPlane.halfHeight, farPlane.distance};
    DXEffectHandler::SetVec3BySemantic("FARCLIPVALUES", &farClip.x);

    // A little larger than the light, so that the sphere's flat faces still cover its reach.
    D3DXMATRIX scaling, translation, world;
    D3DXMatrixScaling(&scaling, 1.05f * radius, 1.05f * radius, 1.05f * radius);
    D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
    D3DXMatrixMultiply(&world, &scaling, &translation);
    lightSphere->worldMatrix = world;
    lightSphere->previousWorldMatrix = world;
    DXEffectHandler::DrawObject(*lightSphere);
}
