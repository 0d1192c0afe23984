// The post-processing chain on the Recorder, drawing with the show's own PostEffects.fx: what
// Load makes and how many numbers it takes from the shared generator, and for every operation the
// draws it makes, the technique and values each draw saw and the targets it drew into; the
// refusals and the fixed places its failed locks name.
#include "PostEffectsFiles.h"
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Scene/Camera.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/PostEffects/PostEffects.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

namespace {

const std::string Triangle = R"(xof 0303txt 0032
Mesh {
 3;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 0.0;1.0;0.0;;
 1;
 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";

struct Seen {
    EffectPassSnapshot pass;
    DeviceState bound;
};

std::vector<float> Values(std::initializer_list<float> values)
{
    return values;
}

void ExpectFloatsNear(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance = 1e-6f)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "at " << i;
}

// What the kernel vector of four draws must be, worked out in double precision.
std::array<double, 3> ExpectedKernelVector(int r1, int r2, int r3, int r4)
{
    const double a = r1 * 2.0 / 32767 - 1, b = r2 * 2.0 / 32767 - 1, c = r3 * 2.0 / 32767 - 1;
    const double length = std::sqrt(a * a + b * b + c * c);
    const double scale = r4 * 0.9 / 32767 + 0.1;
    return {c / length * scale, b / length * scale, a / length * scale};
}

} // namespace

class PostEffectsTest : public DXEffectFixture {
protected:
    void StartShow(bool withSphere = true)
    {
        ArchiveEntries entries = StillCameraTracks();
        entries["OShaders\\PostEffects.fxo"] = CompiledShowEffect("PostEffects.fx");
        if (withSphere)
            entries["Data\\usphere.x"] = Bytes(Triangle);
        Start(entries);
    }

    void TearDown() override
    {
        post.Release(); // its buffers and mesh before the device
        PostEffects::SampleRadius() = 0.2f;
        PostEffects::SampleDistanceScale() = 8.0f;
        DXEffectFixture::TearDown();
    }

    static RenderTargetEntry& Target(uint32_t width, uint32_t height, D3DFORMAT format = D3DFMT_A8R8G8B8)
    {
        return RTHandler::GetTarget(RTHandler::Acquire({format, width, height}));
    }

    // A current scene whose one camera has that lens and view.
    Camera& CurrentCamera(const CameraLens& lens, const D3DXMATRIX& view)
    {
        auto scene = std::make_unique<Scene>("Test");
        auto camera = std::make_unique<Camera>("Lens");
        Camera& made = *camera;
        made.SetLens(lens);
        made.view = view;
        scene->cameraSet.Add(std::move(camera));
        SceneHandler::Instance()->AddScene(std::move(scene));
        return made;
    }

    // Every draw an action makes, inside a scene, with what it saw.
    template <class Action>
    std::vector<Seen> Drawn(Action action)
    {
        const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
        DXFramework::device->BeginScene();
        action();
        DXFramework::device->EndScene();
        std::vector<Seen> seen;
        for (size_t i = first; i < recorder->Count(Op::DrawIndexedPrimitive); ++i)
            seen.push_back({draws.Draw(i), recorder->Bound(Op::DrawIndexedPrimitive, i)});
        return seen;
    }

    std::vector<D3DXVECTOR3> QuadNormals() const
    {
        return BufferValues<D3DXVECTOR3>(*post.screenQuad->normalBuffer);
    }

    PostEffects post;
};

TEST_F(PostEffectsTest, LoadMakesTheQuadSelectsBlitQuadAndDrawsBothKernelsFromTheSharedSequence)
{
    StartShow();
    EXPECT_EQ(post.GetName(), "PostFX");
    CrtRand::srand(4242);
    post.Load();

    ASSERT_NE(post.screenQuad, nullptr);
    EXPECT_EQ(post.screenQuad->maxQuads, 1u);
    EXPECT_EQ(post.screenQuad->ringSize, 1);
    EXPECT_EQ(post.screenQuad->activeQuads, 1u);
    const auto corners = BufferValues<D3DXVECTOR3>(*post.screenQuad->positionBuffers[0]);
    ASSERT_EQ(corners.size(), 4u);
    const float expectedCorners[4][3] = {{-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, -1, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Values({corners[i].x, corners[i].y, corners[i].z}),
                  Values({expectedCorners[i][0], expectedCorners[i][1], expectedCorners[i][2]}));
    EXPECT_EQ(DXEffectHandler::Instance()->GetEffect("postfx")->techniqueName, "BlitQuad");
    EXPECT_NE(post.lightSphere, nullptr);

    // 16 vectors for the occlusion kernel, then 32 spare ones, four draws each.
    CrtRand::srand(4242);
    for (size_t i = 0; i < PostEffects::KernelSize + PostEffects::SpareKernelSize; ++i) {
        const int r1 = CrtRand::rand(), r2 = CrtRand::rand(), r3 = CrtRand::rand(), r4 = CrtRand::rand();
        const auto expected = ExpectedKernelVector(r1, r2, r3, r4);
        const D3DXVECTOR3& made = i < PostEffects::KernelSize ? post.aoKernel[i]
                                                              : post.spareKernel[i - PostEffects::KernelSize];
        EXPECT_NEAR(made.x, expected[0], 1e-6) << "vector " << i;
        EXPECT_NEAR(made.y, expected[1], 1e-6) << "vector " << i;
        EXPECT_NEAR(made.z, expected[2], 1e-6) << "vector " << i;
    }
}

TEST_F(PostEffectsTest, EveryLoadTakes192NumbersAndMakesNewKernelsAndReleaseDropsTheQuadAndSphere)
{
    StartShow();
    const auto stateAfter = [](int draws) {
        CrtRand::srand(99);
        for (int i = 0; i < draws; ++i)
            CrtRand::rand();
        return CrtRand::State();
    };
    CrtRand::srand(99);
    post.Load();
    EXPECT_EQ(CrtRand::State(), stateAfter(192));
    post.Release();
    EXPECT_EQ(post.screenQuad, nullptr);
    EXPECT_EQ(post.lightSphere, nullptr);

    // A device reset between two loads.
    CrtRand::srand(99);
    post.Load();
    const auto firstKernel = post.aoKernel;
    post.Release();
    post.Load();
    EXPECT_EQ(CrtRand::State(), stateAfter(384));
    EXPECT_NE(std::memcmp(firstKernel.data(), post.aoKernel.data(), sizeof firstKernel), 0);
    EXPECT_NE(post.screenQuad, nullptr);
}

TEST_F(PostEffectsTest, OperationsRefuseAnUnloadedModuleAndAMissingSphereLeavesItUnloaded)
{
    StartShow(false);
    EXPECT_EQ(FrameworkFailure([&] { post.FillQuad({}); }), "[PostEffects::FillQuad] The module is not loaded");
    EXPECT_EQ(FrameworkFailure([&] { post.Load(); }), "[DXMesh::LoadX]: failed to load \"usphere.x\".");
    EXPECT_EQ(post.lightSphere, nullptr);
    EXPECT_EQ(FrameworkFailure([&] { post.Ramp(); }), "[PostEffects::Ramp] The module is not loaded");
}

TEST_F(PostEffectsTest, SinglePassOperationsDrawTheQuadOnceWithTheirTechniqueAndInputs)
{
    StartShow();
    post.Load();
    RenderTargetEntry& bound = Target(640, 360);
    RenderTargetEntry& colour = Target(320, 180);
    RenderTargetEntry& other = Target(100, 50, D3DFMT_G16R16F);
    RTHandler::BindTarget(0, bound);
    const std::vector<float> viewportPixel = {0.0015625f, -0.0027777778f};

    struct Case {
        const char* technique;
        std::function<void()> operation;
        std::function<void(const EffectPassSnapshot&)> check;
    };
    const Case cases[] = {
        {"ramp", [&] { post.Ramp(); }, nullptr},
        {"FillQuad", [&] { post.FillQuad({1, 2, 3, 4}); },
         [](const EffectPassSnapshot& pass) { EXPECT_EQ(pass.Floats("VALUE1"), Values({1, 2, 3, 4})); }},
        {"BlitQuad", [&] { post.Blit(colour.texture, {0.5f, 0.5f, 0.5f, 1}); },
         [&](const EffectPassSnapshot& pass) {
             EXPECT_EQ(pass.Floats("VALUE1"), Values({0.5f, 0.5f, 0.5f, 1}));
             ExpectFloatsNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
         }},
        {"Overlay1", [&] { post.Overlay(5); }, nullptr},
        {"Overlay1", [&] { post.Overlay(1); }, nullptr},
        {"Overlay0", [&] { post.Overlay(0); }, nullptr},
        {"Overlay0", [&] { post.Overlay(-3); }, nullptr},
        {"MotionBlur", [&] { post.MotionBlur(colour, other); },
         [&](const EffectPassSnapshot& pass) {
             ExpectFloatsNear(pass.Floats("TX1DIMPIXELINV"), {1.0f / 320, 1.0f / 180});
             ExpectFloatsNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
             EXPECT_EQ(pass.Texture("VECTEX1"), other.texture);
         }},
        {"DepthToNormal", [&] { post.DepthToNormal(other); },
         [&](const EffectPassSnapshot& pass) {
             ExpectFloatsNear(pass.Floats("TX1DIMPIXELINV"), {0.01f, 0.02f});
             EXPECT_EQ(pass.Texture("COLTEX1"), other.texture);
         }},
        {"AmbientOcclusionCombine", [&] { post.AmbientOcclusionCombine(other, colour); },
         [&](const EffectPassSnapshot& pass) {
             ExpectFloatsNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
             EXPECT_EQ(pass.Texture("COLTEX2"), other.texture);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.technique);
        DXEffectHandler::SetActiveEffect("Global"); // each operation makes "postfx" active itself
        const std::vector<Seen> seen = Drawn(c.operation);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].pass.effect, DXEffectHandler::Instance()->GetEffect("postfx")->effect);
        EXPECT_EQ(seen[0].pass.technique, c.technique);
        EXPECT_EQ(seen[0].bound.renderTargets[0], bound.surface) << "single passes draw into the caller's target";
        if (c.check)
            c.check(seen[0].pass);
    }
}

TEST_F(PostEffectsTest, BlurAlternatesIntoTheScratchAndBackLeavingTheImageBound)
{
    StartShow();
    post.Load();
    RenderTargetEntry& image = Target(64, 32, D3DFMT_G16R16F);
    RenderTargetEntry& scratch = Target(32, 16, D3DFMT_G16R16F);
    RenderTargetEntry& elsewhere = Target(8, 8);
    RTHandler::BindTarget(0, elsewhere);

    const size_t binds = recorder->Count(Op::SetRenderTarget);
    EXPECT_TRUE(Drawn([&] { post.Blur(image, scratch, 0); }).empty());
    EXPECT_EQ(recorder->Count(Op::SetRenderTarget), binds) << "count 0 binds nothing either";

    const std::vector<Seen> seen = Drawn([&] { post.Blur(image, scratch, 2); });
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); i += 2) {
        const EffectPassSnapshot& vertical = seen[i].pass;
        EXPECT_EQ(vertical.technique, "BlurV");
        EXPECT_EQ(seen[i].bound.renderTargets[0], scratch.surface);
        EXPECT_EQ(vertical.Texture("COLTEX1"), image.texture);
        ExpectFloatsNear(vertical.Floats("RTDIMPIXELINV"), {1.0f / 32, -1.0f / 16});
        ExpectFloatsNear(vertical.Floats("TX1DIMPIXELINV"), {1.0f / 64, 1.0f / 32});

        const EffectPassSnapshot& horizontal = seen[i + 1].pass;
        EXPECT_EQ(horizontal.technique, "BlurH");
        EXPECT_EQ(seen[i + 1].bound.renderTargets[0], image.surface);
        EXPECT_EQ(horizontal.Texture("COLTEX1"), scratch.texture);
        ExpectFloatsNear(horizontal.Floats("RTDIMPIXELINV"), {1.0f / 64, -1.0f / 32});
        ExpectFloatsNear(horizontal.Floats("TX1DIMPIXELINV"), {1.0f / 32, 1.0f / 16});
    }
    EXPECT_EQ(DXFramework::device->State().renderTargets[0], image.surface);
}

TEST_F(PostEffectsTest, DepthOfFieldBlursAtLeastOncePerPassAndDrawsIntoTheTargetAndViewportItFound)
{
    StartShow();
    post.Load();
    RenderTargetEntry& depth = Target(64, 36, D3DFMT_R32F);
    RenderTargetEntry& a = Target(64, 36, D3DFMT_X8R8G8B8);
    RenderTargetEntry& b = Target(64, 36, D3DFMT_X8R8G8B8);
    RenderTargetEntry& colour = Target(64, 36);
    RenderTargetEntry& output = Target(80, 60);
    RTHandler::BindTarget(0, output);
    D3DVIEWPORT9 letterbox{0, 12, 80, 36, 0.0f, 1.0f};
    ASSERT_EQ(DXFramework::device->SetViewport(&letterbox), D3D_OK);

    for (const auto& [passes, pairs] : {std::pair{0, 1}, {1, 1}, {2, 2}, {5, 5}}) {
        SCOPED_TRACE(passes);
        output.surface->AddRef();
        const ULONG references = output.surface->Release();
        const std::vector<Seen> seen = Drawn([&] { post.DepthOfField(depth, a, b, colour, passes); });
        ASSERT_EQ(seen.size(), size_t(2 * pairs + 1));
        for (int pair = 0; pair < pairs; ++pair) {
            const Seen& horizontal = seen[2 * pair];
            EXPECT_EQ(horizontal.pass.technique, "DOF_blurH");
            EXPECT_EQ(horizontal.bound.renderTargets[0], a.surface);
            EXPECT_EQ(horizontal.pass.Texture("COLTEX1"), pair == 0 ? colour.texture : b.texture);
            EXPECT_EQ(horizontal.pass.Texture("DEPTHTEX"), depth.texture);
            const Seen& vertical = seen[2 * pair + 1];
            EXPECT_EQ(vertical.pass.technique, "DOF_blurV");
            EXPECT_EQ(vertical.bound.renderTargets[0], b.surface);
            EXPECT_EQ(vertical.pass.Texture("COLTEX1"), a.texture);
        }
        const Seen& combine = seen.back();
        EXPECT_EQ(combine.pass.technique, "DofQuad");
        EXPECT_EQ(combine.bound.renderTargets[0], output.surface);
        EXPECT_EQ(combine.bound.viewport.Y, 12u);
        EXPECT_EQ(combine.bound.viewport.Height, 36u);
        ExpectFloatsNear(combine.pass.Floats("RTDIMPIXELINV"), {1.0f / 80, -1.0f / 36});
        EXPECT_EQ(combine.pass.Texture("COLTEX1"), b.texture);
        EXPECT_EQ(combine.pass.Texture("COLTEX2"), colour.texture);
        EXPECT_EQ(DXFramework::device->State().viewport.Y, 12u);
        output.surface->AddRef();
        EXPECT_EQ(output.surface->Release(), references) << "the saved target's reference is given back";
    }
}

TEST_F(PostEffectsTest, BloomBuildsEachLevelFromThePreviousBlurredOneAndFadesByTheTrack)
{
    StartShow();
    post.Load();
    RenderTargetEntry& source = Target(128, 64);
    std::vector<RenderTargetEntry*> levels, scratches;
    for (uint32_t i = 1; i <= 4; ++i) {
        levels.push_back(&Target(128 >> i, 64 >> i));
        scratches.push_back(&Target(128 >> i, 64 >> i));
    }
    const std::array<PostEffects::BloomLevel, 4> pairs = {{{*levels[0], *scratches[0]},
                                                           {*levels[1], *scratches[1]},
                                                           {*levels[2], *scratches[2]},
                                                           {*levels[3], *scratches[3]}}};
    RTHandler::BindTarget(0, Target(200, 100, D3DFMT_X8R8G8B8));
    IDirect3DSurface9* output = DXFramework::device->State().renderTargets[0];

    for (const auto& [fade, value] : {std::pair{0.0f, Values({1, 0, 0, 0})}, {0.5f, Values({1.5f, 0.5f, 0.25f, 0})}}) {
        const std::vector<Seen> seen = Drawn([&] { post.Bloom(source, pairs, fade); });
        ASSERT_EQ(seen.size(), 4u * (1 + 2 * 5) + 1);
        for (size_t level = 0; level < 4; ++level) {
            const size_t first = level * 11;
            const RenderTargetEntry& target = *levels[level];
            const Seen& down = seen[first];
            EXPECT_EQ(down.pass.technique, "DownSample");
            EXPECT_EQ(down.bound.renderTargets[0], target.surface);
            EXPECT_EQ(down.pass.Texture("COLTEX1"), level == 0 ? source.texture : levels[level - 1]->texture);
            ExpectFloatsNear(down.pass.Floats("RTDIMPIXELINV"), {1.0f / target.width, -1.0f / target.height});
            for (size_t round = 0; round < 5; ++round) {
                const Seen& vertical = seen[first + 1 + 2 * round];
                const Seen& horizontal = seen[first + 2 + 2 * round];
                EXPECT_EQ(vertical.pass.technique, "BlurV");
                EXPECT_EQ(vertical.bound.renderTargets[0], scratches[level]->surface);
                EXPECT_EQ(vertical.pass.Texture("COLTEX1"), target.texture);
                EXPECT_EQ(horizontal.pass.technique, "BlurH");
                EXPECT_EQ(horizontal.bound.renderTargets[0], target.surface);
                EXPECT_EQ(horizontal.pass.Texture("COLTEX1"), scratches[level]->texture);
                ExpectFloatsNear(horizontal.pass.Floats("TX1DIMPIXELINV"), {1.0f / target.width, 1.0f / target.height});
            }
        }
        const Seen& combine = seen.back();
        EXPECT_EQ(combine.pass.technique, "BloomFadeCombine");
        EXPECT_EQ(combine.bound.renderTargets[0], output);
        EXPECT_EQ(combine.bound.viewport.Width, 200u);
        EXPECT_EQ(combine.pass.Floats("VALUE1"), value);
        const char* inputs[] = {"COLTEX1", "COLTEX2", "COLTEX3", "COLTEX4", "COLTEX5"};
        EXPECT_EQ(combine.pass.Texture(inputs[0]), source.texture);
        for (size_t level = 0; level < 4; ++level)
            EXPECT_EQ(combine.pass.Texture(inputs[level + 1]), levels[level]->texture);
    }

    // The blur of a level writes the level's sizes for both directions: a scratch of another size
    // would be blurred wrongly, so it is refused before anything is drawn.
    const std::array<PostEffects::BloomLevel, 4> mismatched = {{{*levels[0], *scratches[0]},
                                                                {*levels[1], *scratches[2]},
                                                                {*levels[2], *scratches[2]},
                                                                {*levels[3], *scratches[3]}}};
    const size_t drawsBefore = recorder->Count(Op::DrawIndexedPrimitive);
    EXPECT_EQ(FrameworkFailure([&] { post.Bloom(source, mismatched, 1.0f); }),
              "[PostEffects::Bloom] The scratch target of level 2 is 16 x 8, the level 32 x 16");
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), drawsBefore);
}

TEST_F(PostEffectsTest, AmbientOcclusionSendsTheKernelTheTunablesTheProjectionAndTheFarPlaneRays)
{
    StartShow();
    post.Load();
    RenderTargetEntry& normalDepth = Target(160, 90, D3DFMT_A32B32G32R32F);
    RTHandler::BindTarget(0, Target(640, 360));
    EXPECT_EQ(FrameworkFailure([&] { post.AmbientOcclusion(normalDepth); }),
              "[PostEffects::AmbientOcclusion] No current scene with an active camera");

    // A vertical field of view of 90 degrees: the far plane at 50 reaches 50 up and 100 across.
    const Camera& camera = CurrentCamera({std::numbers::pi_v<float> / 2, 1.0f, 50.0f, 0.0f, 0.0f, 2.0f}, IdentityMatrix());
    EXPECT_EQ(PostEffects::SampleRadius(), 0.2f);
    EXPECT_EQ(PostEffects::SampleDistanceScale(), 8.0f);
    PostEffects::SampleRadius() = 0.35f;
    PostEffects::SampleDistanceScale() = -12.5f;

    const std::vector<Seen> seen = Drawn([&] { post.AmbientOcclusion(normalDepth); });
    ASSERT_EQ(seen.size(), 1u);
    const EffectPassSnapshot& pass = seen[0].pass;
    EXPECT_EQ(pass.technique, "AmbientOcclusion");
    EXPECT_EQ(pass.Texture("COLTEX1"), normalDepth.texture);
    const std::vector<float> kernel(&post.aoKernel[0].x, &post.aoKernel[0].x + 48);
    EXPECT_EQ(pass.Floats("SSAOKERNEL"), kernel);
    EXPECT_EQ(pass.Floats("BUFDIMX"), Values({160}));
    EXPECT_EQ(pass.Floats("BUFDIMY"), Values({90}));
    EXPECT_EQ(pass.Floats("SAMPLERADIUS"), Values({0.35f}));
    EXPECT_EQ(pass.Floats("SAMPLEDISTANCESCALE"), Values({-12.5f}));
    ExpectFloatsNear(pass.Floats("RTDIMPIXELINV"), {0.0015625f, -0.0027777778f});
    const std::vector<float> projection(&camera.projection.m[0][0], &camera.projection.m[0][0] + 16);
    EXPECT_EQ(pass.Floats("PROJECTIONMATRIX"), projection);

    const std::vector<D3DXVECTOR3> rays = QuadNormals();
    ASSERT_EQ(rays.size(), 4u);
    const float expected[4][3] = {{-100, 50, 50}, {100, 50, 50}, {100, -50, 50}, {-100, -50, 50}};
    for (int i = 0; i < 4; ++i)
        ExpectFloatsNear({rays[i].x, rays[i].y, rays[i].z}, {expected[i][0], expected[i][1], expected[i][2]}, 1e-4f);
}

TEST_F(PostEffectsTest, APointLightIsSkippedBehindTheCameraDrawnFromInsideNearItAndFromOutsideBeyond)
{
    StartShow();
    post.Load();
    RenderTargetEntry& normalDepth = Target(64, 32, D3DFMT_A32B32G32R32F);
    RenderTargetEntry& colour = Target(64, 32);
    RTHandler::BindTarget(0, Target(64, 32));
    const auto light = [&](float z) {
        return Drawn([&] { post.DrawPointLight(normalDepth, colour, {2.0f, 0.0f, z}, {0.5f, 0.7f, 0.8f}, 1.0f); });
    };
    EXPECT_EQ(FrameworkFailure([&] { light(0.0f); }),
              "[PostEffects::DrawPointLight] No current scene with an active camera");

    // The camera stands at z = 10 looking down -z, turned a quarter about its axis: world x is
    // its up, world y its left. Near 1, so a light at world z lies 11 - z in front of the plane
    // the light test uses.
    D3DXMATRIX turn, back, view;
    D3DXMatrixRotationZ(&turn, std::numbers::pi_v<float> / 2);
    D3DXMatrixTranslation(&back, 0.0f, 0.0f, -10.0f);
    D3DXMatrixMultiply(&view, &turn, &back);
    CurrentCamera({std::numbers::pi_v<float> / 2, 1.0f, 50.0f, 0.0f, 0.0f, 2.0f}, view);

    EXPECT_TRUE(light(14.0f).empty()) << "3 behind: more than two radii";
    for (const auto& [z, technique] : {std::pair{13.0f, "Def_PointLightBackside"},
                                       {10.0f, "Def_PointLightBackside"},
                                       {9.01f, "Def_PointLightBackside"},
                                       {9.0f, "Def_PointLight"},
                                       {0.0f, "Def_PointLight"}}) {
        SCOPED_TRACE(z);
        const std::vector<Seen> seen = light(z);
        ASSERT_EQ(seen.size(), 1u) << "the sphere, one subset";
        const EffectPassSnapshot& pass = seen[0].pass;
        EXPECT_EQ(pass.technique, technique);
        ExpectFloatsNear(pass.Floats("DLIGHTPOS"), {0.0f, 2.0f, z - 10.0f}, 1e-5f);
        EXPECT_EQ(pass.Floats("DLIGHTCOL"), Values({0.5f, 0.7f, 0.8f}));
        EXPECT_EQ(pass.Floats("DLIGHTRAD"), Values({1.0f}));
        ExpectFloatsNear(pass.Floats("UPDIR"), {-1.0f, 0.0f, 0.0f});
        ExpectFloatsNear(pass.Floats("FARCLIPVALUES"), {100.0f, 50.0f, 50.0f}, 1e-4f);
        ExpectFloatsNear(pass.Floats("RTDIMPIXELINV"), {1.0f / 64, -1.0f / 32});
        EXPECT_EQ(pass.Texture("COLTEX1"), normalDepth.texture);
        EXPECT_EQ(pass.Texture("COLTEX3"), colour.texture);
    }
    // The sphere a little larger than the light, at the light, without motion.
    const D3DXMATRIX& world = post.lightSphere->worldMatrix;
    EXPECT_EQ(Values({world(0, 0), world(1, 1), world(2, 2), world(3, 0), world(3, 1), world(3, 2)}),
              Values({1.05f, 1.05f, 1.05f, 2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(post.lightSphere->previousWorldMatrix, world);
    const std::vector<D3DXVECTOR3> rays = QuadNormals();
    ExpectFloatsNear({rays[2].x, rays[2].y, rays[2].z}, {100.0f, -50.0f, 50.0f}, 1e-4f);
}

TEST_F(PostEffectsTest, FailedLocksNameTheModulesFixedPlaces)
{
    StartShow();
    // The quad's construction locks its colours and texture coordinates first.
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer) + 2, E_FAIL);
    EXPECT_EQ(FrameworkFailure([&] { post.Load(); }),
              "Error: E_FAIL\n\n.\\Source\\Modules\\PostEffects\\PostEffects.cpp : 34");

    post.Load();
    RenderTargetEntry& normalDepth = Target(16, 16, D3DFMT_A32B32G32R32F);
    RTHandler::BindTarget(0, Target(16, 16));
    CurrentCamera({}, IdentityMatrix());
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer), D3DERR_INVALIDCALL);
    EXPECT_EQ(FrameworkFailure([&] { post.AmbientOcclusion(normalDepth); }),
              "Error: D3DERR_INVALIDCALL\n\n.\\Source\\Modules\\PostEffects\\PostEffects.cpp : 734");
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer), E_OUTOFMEMORY);
    EXPECT_EQ(FrameworkFailure([&] { post.DrawPointLight(normalDepth, normalDepth, {}, {}, 1.0f); }),
              "Error: E_OUTOFMEMORY\n\n.\\Source\\Modules\\PostEffects\\PostEffects.cpp : 819");
}
