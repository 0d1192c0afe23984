// The post-processing chain on the Recorder, drawing with the show's own PostEffects.fx: what
// Load makes and how many numbers it takes from the shared generator, and for every operation the
// draws it makes, their techniques, the values they saw and the targets they drew into; the
// refusals and the fixed places its failed locks name.
#include "PostEffectsFiles.h"
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Scene/Camera.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/PostEffects/PostEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

namespace {

struct Seen {
    EffectPassSnapshot pass;
    DeviceState bound;
};

std::vector<std::string> Techniques(const std::vector<Seen>& seen)
{
    std::vector<std::string> names;
    for (const Seen& draw : seen)
        names.push_back(draw.pass.technique);
    return names;
}

// Per draw: the surface bound to slot 0 and the texture of an input.
std::vector<const void*> Targets(const std::vector<Seen>& seen)
{
    std::vector<const void*> targets;
    for (const Seen& draw : seen)
        targets.push_back(draw.bound.renderTargets[0]);
    return targets;
}

std::vector<const void*> Inputs(const std::vector<Seen>& seen, const char* semantic)
{
    std::vector<const void*> inputs;
    for (const Seen& draw : seen)
        inputs.push_back(draw.pass.Texture(semantic));
    return inputs;
}

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance = 1e-6f)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "at " << i;
}

std::vector<float> Values(const D3DXVECTOR3& v)
{
    return {v.x, v.y, v.z};
}

constexpr float QuarterTurn = std::numbers::pi_v<float> / 2;

} // namespace

class PostEffectsTest : public DXEffectFixture {
protected:
    void StartShow(bool withSphere = true)
    {
        ArchiveEntries entries = StillCameraTracks();
        entries["OShaders\\PostEffects.fxo"] = CompiledShowEffect("PostEffects.fx");
        if (withSphere)
            entries["Data\\usphere.x"] = Bytes(GreyTriangleMesh);
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

    // A current scene whose one camera has that lens (90 degrees high, near 1, far 50, twice as
    // wide as high unless given) and view.
    Camera& CurrentCamera(const D3DXMATRIX& view, const CameraLens& lens = {QuarterTurn, 1.0f, 50.0f, 0, 0, 2.0f})
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

    // The rays to the far plane that the quad's normals carry: 90 degrees high, aspect 2, far 50.
    void ExpectFarPlaneRays()
    {
        const auto rays = BufferValues<D3DXVECTOR3>(*post.screenQuad->normalBuffer);
        ASSERT_EQ(rays.size(), 4u);
        const std::vector<float> expected[4] = {{-100, 50, 50}, {100, 50, 50}, {100, -50, 50}, {-100, -50, 50}};
        for (int i = 0; i < 4; ++i)
            ExpectNear(Values(rays[i]), expected[i], 1e-4f);
    }

    PostEffects post;
};

TEST_F(PostEffectsTest, EveryLoadMakesTheQuadAndDraws192NumbersIntoBothKernels)
{
    StartShow();
    EXPECT_EQ(post.GetName(), "PostFX");
    CrtRand::srand(4242);
    post.Load();
    const uint32_t afterLoad = CrtRand::State();
    EXPECT_EQ(post.screenQuad->activeQuads, 1u);
    const auto corners = BufferValues<float>(*post.screenQuad->positionBuffers[0]);
    EXPECT_EQ(corners, (std::vector<float>{-1, 1, 0, 1, 1, 0, 1, -1, 0, -1, -1, 0}));
    EXPECT_EQ(DXEffectHandler::Instance()->GetEffect("postfx")->techniqueName, "BlitQuad");

    // 16 occlusion vectors, then 32 spare ones, from four draws each: (c, b, a) of the first three
    // mapped to [-1, 1], normalised, times the fourth mapped to [0.1, 1].
    CrtRand::srand(4242);
    for (size_t i = 0; i < PostEffects::KernelSize + PostEffects::SpareKernelSize; ++i) {
        const double a = CrtRand::rand() * 2.0 / 32767 - 1, b = CrtRand::rand() * 2.0 / 32767 - 1,
                     c = CrtRand::rand() * 2.0 / 32767 - 1;
        const double scale = (CrtRand::rand() * 0.9 / 32767 + 0.1) / std::sqrt(a * a + b * b + c * c);
        const D3DXVECTOR3& made = i < PostEffects::KernelSize ? post.aoKernel[i]
                                                              : post.spareKernel[i - PostEffects::KernelSize];
        ExpectNear(Values(made), {float(c * scale), float(b * scale), float(a * scale)});
    }
    EXPECT_EQ(CrtRand::State(), afterLoad) << "192 draws, no more";

    // A device reset: Release, then Load takes the next 192 and makes other kernels.
    const auto firstKernel = post.aoKernel;
    post.Release();
    EXPECT_EQ(post.screenQuad, nullptr);
    EXPECT_EQ(post.lightSphere, nullptr);
    post.Load();
    const uint32_t afterTwoLoads = CrtRand::State();
    CrtRand::srand(4242);
    for (int i = 0; i < 384; ++i)
        CrtRand::rand();
    EXPECT_EQ(afterTwoLoads, CrtRand::State());
    EXPECT_NE(std::memcmp(firstKernel.data(), post.aoKernel.data(), sizeof firstKernel), 0);
}

TEST_F(PostEffectsTest, OperationsRefuseAnUnloadedModuleAndAMissingSphereLeavesItUnloaded)
{
    StartShow(false);
    EXPECT_EQ(FrameworkFailure([&] { post.FillQuad({}); }), "[PostEffects::FillQuad] The module is not loaded");
    EXPECT_EQ(FrameworkFailure([&] { post.Load(); }), "[DXMesh::LoadX]: failed to load \"usphere.x\".");
    EXPECT_EQ(FrameworkFailure([&] { post.Ramp(); }), "[PostEffects::Ramp] The module is not loaded");
}

TEST_F(PostEffectsTest, SinglePassOperationsDrawTheQuadOnceIntoTheCallersTargetWithTheirInputs)
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
         [](const EffectPassSnapshot& pass) { EXPECT_EQ(pass.Floats("VALUE1"), (std::vector<float>{1, 2, 3, 4})); }},
        {"BlitQuad", [&] { post.Blit(colour.texture, {0.5f, 0.5f, 0.5f, 1}); },
         [&](const EffectPassSnapshot& pass) {
             EXPECT_EQ(pass.Floats("VALUE1"), (std::vector<float>{0.5f, 0.5f, 0.5f, 1}));
             ExpectNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
         }},
        {"Overlay1", [&] { post.Overlay(5); }, nullptr},
        {"Overlay0", [&] { post.Overlay(-3); }, nullptr},
        {"MotionBlur", [&] { post.MotionBlur(colour, other); },
         [&](const EffectPassSnapshot& pass) {
             ExpectNear(pass.Floats("TX1DIMPIXELINV"), {1.0f / 320, 1.0f / 180});
             ExpectNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
             EXPECT_EQ(pass.Texture("VECTEX1"), other.texture);
             EXPECT_EQ(pass.Floats("VECREGION"), (std::vector<float>{1, 1}));
         }},
        {"DepthToNormal", [&] { post.DepthToNormal(other); },
         [&](const EffectPassSnapshot& pass) {
             ExpectNear(pass.Floats("TX1DIMPIXELINV"), {0.01f, 0.02f});
             EXPECT_EQ(pass.Texture("COLTEX1"), other.texture);
         }},
        {"AmbientOcclusionCombine", [&] { post.AmbientOcclusionCombine(other, colour); },
         [&](const EffectPassSnapshot& pass) {
             ExpectNear(pass.Floats("RTDIMPIXELINV"), viewportPixel);
             EXPECT_EQ(pass.Texture("COLTEX1"), colour.texture);
             EXPECT_EQ(pass.Texture("COLTEX2"), other.texture);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.technique);
        DXEffectHandler::SetActiveEffect("Global"); // each operation makes "postfx" active itself
        const std::vector<Seen> seen = Drawn(c.operation);
        ASSERT_EQ(Techniques(seen), std::vector<std::string>{c.technique});
        EXPECT_EQ(seen[0].pass.effect, DXEffectHandler::Instance()->GetEffect("postfx")->effect);
        EXPECT_EQ(seen[0].bound.renderTargets[0], bound.surface);
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
    RTHandler::BindTarget(0, Target(8, 8));
    const size_t binds = recorder->Count(Op::SetRenderTarget);
    EXPECT_TRUE(Drawn([&] { post.Blur(image, scratch, 0); }).empty());
    EXPECT_EQ(recorder->Count(Op::SetRenderTarget), binds) << "count 0 binds nothing either";

    const std::vector<Seen> seen = Drawn([&] { post.Blur(image, scratch, 2); });
    EXPECT_EQ(Techniques(seen), (std::vector<std::string>{"BlurV", "BlurH", "BlurV", "BlurH"}));
    EXPECT_EQ(Targets(seen), (std::vector<const void*>{scratch.surface, image.surface, scratch.surface, image.surface}));
    EXPECT_EQ(Inputs(seen, "COLTEX1"),
              (std::vector<const void*>{image.texture, scratch.texture, image.texture, scratch.texture}));
    ExpectNear(seen[0].pass.Floats("RTDIMPIXELINV"), {1.0f / 32, -1.0f / 16});
    ExpectNear(seen[0].pass.Floats("TX1DIMPIXELINV"), {1.0f / 64, 1.0f / 32});
    ExpectNear(seen[1].pass.Floats("RTDIMPIXELINV"), {1.0f / 64, -1.0f / 32});
    ExpectNear(seen[1].pass.Floats("TX1DIMPIXELINV"), {1.0f / 32, 1.0f / 16});
    EXPECT_EQ(DXFramework::device->State().renderTargets[0], image.surface);
}

TEST_F(PostEffectsTest, AVelocityRoundAtHalfSizeIsLeftInTheImagesCornerWhereTheMotionBlurReadsIt)
{
    StartShow();
    post.Load();
    RenderTargetEntry& velocity = Target(128, 72, D3DFMT_G16R16F);
    RenderTargetEntry& scratch = Target(128, 72, D3DFMT_G16R16F);
    RenderTargetEntry& colour = Target(128, 72);
    RTHandler::BindTarget(0, Target(128, 72));
    postfx::BlurSize region;
    const std::vector<Seen> seen = Drawn([&] {
        region = post.BlurVelocityRound(velocity, scratch);
        RTHandler::BindTarget(0, colour);
        post.MotionBlur(colour, velocity, region);
    });
    EXPECT_EQ(Techniques(seen), (std::vector<std::string>{"BlurV", "BlurH", "MotionBlur"}));
    EXPECT_EQ(Targets(seen), (std::vector<const void*>{scratch.surface, velocity.surface, colour.surface}));
    EXPECT_EQ((std::vector<UINT>{seen[0].bound.viewport.Width, seen[0].bound.viewport.Height,
                                 seen[1].bound.viewport.Width, seen[1].bound.viewport.Height}),
              (std::vector<UINT>{64, 36, 64, 36}));
    EXPECT_EQ((std::vector<uint32_t>{region.width, region.height}), (std::vector<uint32_t>{64, 36}));
    EXPECT_EQ(seen[2].pass.Texture("VECTEX1"), velocity.texture);
    EXPECT_EQ(seen[2].pass.Floats("VECREGION"), (std::vector<float>{0.5f, 0.5f}));

    // The earlier way: the round at full size, read whole.
    post.velocityAtHalfSize = false;
    const std::vector<Seen> whole = Drawn([&] { region = post.BlurVelocityRound(velocity, scratch); });
    EXPECT_EQ(Targets(whole), (std::vector<const void*>{scratch.surface, velocity.surface}));
    EXPECT_EQ(whole[1].bound.viewport.Width, 128u);
    EXPECT_EQ((std::vector<uint32_t>{region.width, region.height}), (std::vector<uint32_t>{128, 72}));
}

TEST_F(PostEffectsTest, ABlurOfSeveralRoundsShrinksTheImageBlursItInCornersAndRestoresIt)
{
    StartShow();
    post.Load();
    RenderTargetEntry& image = Target(128, 72, D3DFMT_G16R16F);
    RenderTargetEntry& scratch = Target(128, 72, D3DFMT_G16R16F);
    // Per draw: which of the two it drew into and read, the viewport's size and the part read.
    struct Draw {
        const void* target;
        const void* input;
        UINT width, height;
        std::vector<float> region;
        bool operator==(const Draw&) const = default;
    };
    const auto draws = [&](const std::vector<Seen>& seen) {
        std::vector<Draw> all;
        for (const Seen& draw : seen)
            all.push_back({draw.bound.renderTargets[0], draw.pass.Texture("COLTEX1"), draw.bound.viewport.Width,
                           draw.bound.viewport.Height, draw.pass.Floats("TX1REGION")});
        return all;
    };
    const void *I = image.surface, *S = scratch.surface, *i = image.texture, *s = scratch.texture;
    // Four rounds spread the picture far enough for the columns to be quartered: the first pass
    // halves them between pairs, the second with its kernel.
    const std::vector<Draw> corners{{S, i, 64, 36, {1, 1}},          {I, s, 32, 36, {0.5f, 0.5f}},
                                    {S, i, 32, 36, {0.25f, 0.5f}}, {I, s, 32, 36, {0.25f, 0.5f}},
                                    {S, i, 32, 36, {0.25f, 0.5f}}, {I, s, 32, 36, {0.25f, 0.5f}},
                                    {S, i, 32, 36, {0.25f, 0.5f}}, {I, s, 128, 72, {0.25f, 0.5f}}};

    const std::vector<Seen> seen = Drawn([&] { post.Blur(image, scratch, 4); });
    EXPECT_EQ(Techniques(seen), (std::vector<std::string>{"BlurV", "BlurH", "BlurV", "BlurH", "BlurV", "BlurH",
                                                          "BlurV", "BlurH"}));
    EXPECT_EQ(draws(seen), corners);
    EXPECT_EQ(DXFramework::device->State().renderTargets[0], image.surface);
    EXPECT_EQ(DXFramework::device->State().viewport.Width, 128u);
    // Halving with the kernel reads 0.75 texels apart, restoring reads once; the rows' passes
    // between spread less than a round's 1, the quartered columns' far less.
    EXPECT_NEAR(seen[0].pass.Floats("TX1DIMPIXELINV")[1], 0.75f / 72, 1e-6f);
    EXPECT_NEAR(seen[1].pass.Floats("TX1DIMPIXELINV")[0], 0.75f / 128, 1e-6f);
    ExpectNear(seen[7].pass.Floats("TX1DIMPIXELINV"), {0, 0});
    for (size_t d = 2; d < 7; ++d) {
        const bool rows = d % 2 == 0;
        const float step = seen[d].pass.Floats("TX1DIMPIXELINV")[rows ? 1 : 0] * (rows ? 72 : 128);
        EXPECT_GT(step, rows ? 0.3f : 0.0f) << "draw " << d;
        EXPECT_LT(step, rows ? 0.7f : 0.3f) << "draw " << d;
    }

    // Rows of odd length stay whole; three rounds spread less than quartering the columns would,
    // so they are only halved.
    RenderTargetEntry& odd = Target(128, 71, D3DFMT_G16R16F);
    std::vector<Draw> halvedColumns = draws(Drawn([&] { post.Blur(odd, scratch, 3); }));
    ASSERT_EQ(halvedColumns.size(), 6u);
    EXPECT_EQ((std::vector<UINT>{halvedColumns[0].width, halvedColumns[0].height, halvedColumns[1].width,
                                 halvedColumns[5].width}),
              (std::vector<UINT>{64, 71, 64, 128}));

    // A scratch of the halved size is enough; one smaller, or the earlier rounds asked for: rounds
    // at full size.
    RenderTargetEntry& half = Target(64, 36, D3DFMT_G16R16F);
    const std::vector<Draw> inHalf = draws(Drawn([&] { post.Blur(image, half, 3); }));
    EXPECT_EQ((std::vector<UINT>{inHalf.front().width, inHalf.back().width}), (std::vector<UINT>{64, 128}));
    RenderTargetEntry& small = Target(63, 36, D3DFMT_G16R16F);
    EXPECT_EQ(Targets(Drawn([&] { post.Blur(image, small, 3); })),
              (std::vector<const void*>{small.surface, I, small.surface, I, small.surface, I}));
    post.blurPlanner = postfx::BlurRounds;
    const std::vector<Seen> rounds = Drawn([&] { post.Blur(image, scratch, 4); });
    EXPECT_EQ(Targets(rounds), (std::vector<const void*>{S, I, S, I, S, I, S, I}));
    EXPECT_EQ(rounds[0].pass.Floats("TX1REGION"), (std::vector<float>{1, 1}));
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
    const D3DVIEWPORT9 letterbox{0, 12, 80, 36, 0.0f, 1.0f};
    ASSERT_EQ(DXFramework::device->SetViewport(&letterbox), D3D_OK);
    output.surface->AddRef();
    const ULONG references = output.surface->Release();

    struct Case {
        int passes;
        int pairs;
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{2, 2}}) {
        SCOPED_TRACE(c.passes);
        const std::vector<Seen> seen = Drawn([&] { post.DepthOfField(depth, a, b, colour, c.passes); });
        std::vector<std::string> techniques;
        std::vector<const void*> targets, inputs;
        for (int pair = 0; pair < c.pairs; ++pair) {
            techniques.insert(techniques.end(), {"DOF_blurH", "DOF_blurV"});
            targets.insert(targets.end(), {a.surface, b.surface});
            inputs.insert(inputs.end(), {pair == 0 ? colour.texture : b.texture, a.texture});
        }
        techniques.push_back("DofQuad");
        targets.push_back(output.surface);
        inputs.push_back(b.texture);
        EXPECT_EQ(Techniques(seen), techniques);
        EXPECT_EQ(Targets(seen), targets);
        EXPECT_EQ(Inputs(seen, "COLTEX1"), inputs);

        const Seen& combine = seen.back();
        EXPECT_EQ(combine.pass.Texture("COLTEX2"), colour.texture);
        EXPECT_EQ(combine.pass.Texture("DEPTHTEX"), depth.texture);
        EXPECT_EQ(combine.bound.viewport.Y, 12u);
        ExpectNear(combine.pass.Floats("RTDIMPIXELINV"), {1.0f / 80, -1.0f / 36});
        output.surface->AddRef();
        EXPECT_EQ(output.surface->Release(), references) << "the saved target's reference is given back";
    }
}

TEST_F(PostEffectsTest, BloomBuildsEachLevelFromThePreviousBlurredOneAndFadesByItsArgument)
{
    StartShow();
    post.Load();
    // Levels too small to blur at reduced size.
    RenderTargetEntry& source = Target(96, 48);
    std::vector<RenderTargetEntry*> levels, scratches;
    for (uint32_t i = 1; i <= 4; ++i) {
        levels.push_back(&Target(96 >> i, 48 >> i));
        scratches.push_back(&Target(96 >> i, 48 >> i));
    }
    const auto pairs = [&](size_t scratchOfLevel2) {
        return std::array<PostEffects::BloomLevel, 4>{{{*levels[0], *scratches[0]},
                                                       {*levels[1], *scratches[scratchOfLevel2]},
                                                       {*levels[2], *scratches[2]},
                                                       {*levels[3], *scratches[3]}}};
    };
    RenderTargetEntry& output = Target(200, 100, D3DFMT_X8R8G8B8);
    RTHandler::BindTarget(0, output);

    std::vector<std::string> techniques;
    std::vector<const void*> targets, inputs;
    for (size_t level = 0; level < 4; ++level) {
        techniques.push_back("DownSample");
        targets.push_back(levels[level]->surface);
        inputs.push_back(level == 0 ? source.texture : levels[level - 1]->texture);
        for (int round = 0; round < 5; ++round) {
            techniques.insert(techniques.end(), {"BlurV", "BlurH"});
            targets.insert(targets.end(), {scratches[level]->surface, levels[level]->surface});
            inputs.insert(inputs.end(), {levels[level]->texture, scratches[level]->texture});
        }
    }
    // The levels' glow gathered into the first level's scratch, then the full-size pass.
    techniques.insert(techniques.end(), {"BloomGather", "BloomFadeCombine"});
    targets.insert(targets.end(), {scratches[0]->surface, output.surface});
    inputs.insert(inputs.end(), {levels[3]->texture, source.texture});
    const auto levelTextures = [&](const Seen& pass) {
        return std::vector<const void*>{pass.pass.Texture("COLTEX2"), pass.pass.Texture("COLTEX3"),
                                        pass.pass.Texture("COLTEX4"), pass.pass.Texture("COLTEX5")};
    };
    const std::vector<const void*> allLevels{levels[0]->texture, levels[1]->texture, levels[2]->texture,
                                             levels[3]->texture};

    struct Case {
        float fade;
        std::vector<float> value;
    };
    for (const Case& c : {Case{0.0f, {1, 0, 0, 0}}, Case{0.5f, {1.5f, 0.5f, 0.25f, 0}}}) {
        const std::vector<Seen> seen = Drawn([&] { post.Bloom(source, pairs(1), c.fade); });
        EXPECT_EQ(Techniques(seen), techniques);
        EXPECT_EQ(Targets(seen), targets);
        EXPECT_EQ(Inputs(seen, "COLTEX1"), inputs);
        // Level 3: the downsample is sized by its target, the blurs by the level in both directions.
        ExpectNear(seen[22].pass.Floats("RTDIMPIXELINV"), {1.0f / 12, -1.0f / 6});
        ExpectNear(seen[23].pass.Floats("TX1DIMPIXELINV"), {1.0f / 12, 1.0f / 6});
        ExpectNear(seen[24].pass.Floats("RTDIMPIXELINV"), {1.0f / 12, -1.0f / 6});
        const Seen& gather = seen[seen.size() - 2];
        EXPECT_EQ(levelTextures(gather), allLevels);
        ExpectNear(gather.pass.Floats("RTDIMPIXELINV"), {1.0f / 48, -1.0f / 24});
        const Seen& combine = seen.back();
        EXPECT_EQ(combine.pass.Floats("VALUE1"), c.value);
        EXPECT_EQ(combine.bound.viewport.Width, 200u);
        EXPECT_EQ(combine.pass.Texture("COLTEX2"), scratches[0]->texture);
    }
    // The earlier way: the full-size pass reads the four levels itself.
    post.bloomLevelsGathered = false;
    const std::vector<Seen> earlier = Drawn([&] { post.Bloom(source, pairs(1), 0.5f); });
    std::vector<std::string> earlierTechniques(techniques.begin(), techniques.end() - 2);
    earlierTechniques.push_back("BloomFadeCombine");
    EXPECT_EQ(Techniques(earlier), earlierTechniques);
    EXPECT_EQ(earlier.back().bound.viewport.Width, 200u);
    EXPECT_EQ(levelTextures(earlier.back()), allLevels);
    post.bloomLevelsGathered = true;

    // A scratch of another size than its level would be blurred with the level's sizes: refused
    // before anything is drawn.
    const size_t drawsBefore = recorder->Count(Op::DrawIndexedPrimitive);
    EXPECT_EQ(FrameworkFailure([&] { post.Bloom(source, pairs(2), 1.0f); }),
              "[PostEffects::Bloom] The scratch target of level 2 is 12 x 6, the level 24 x 12");
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

    const Camera& camera = CurrentCamera(IdentityMatrix());
    EXPECT_EQ(PostEffects::SampleRadius(), 0.2f);
    EXPECT_EQ(PostEffects::SampleDistanceScale(), 8.0f);
    PostEffects::SampleRadius() = 0.35f;
    PostEffects::SampleDistanceScale() = -12.5f;

    const std::vector<Seen> seen = Drawn([&] { post.AmbientOcclusion(normalDepth); });
    ASSERT_EQ(Techniques(seen), std::vector<std::string>{"AmbientOcclusion"});
    const EffectPassSnapshot& pass = seen[0].pass;
    EXPECT_EQ(pass.Texture("COLTEX1"), normalDepth.texture);
    EXPECT_EQ(pass.Floats("SSAOKERNEL"), std::vector<float>(&post.aoKernel[0].x, &post.aoKernel[0].x + 48));
    // One kernel turn for each pixel drawn: the viewport's size, not the map's.
    EXPECT_EQ(pass.Floats("BUFDIMX"), std::vector<float>{640});
    EXPECT_EQ(pass.Floats("BUFDIMY"), std::vector<float>{360});
    EXPECT_EQ(pass.Floats("SAMPLERADIUS"), std::vector<float>{0.35f});
    EXPECT_EQ(pass.Floats("SAMPLEDISTANCESCALE"), std::vector<float>{-12.5f});
    ExpectNear(pass.Floats("RTDIMPIXELINV"), {0.0015625f, -0.0027777778f});
    EXPECT_EQ(pass.Floats("PROJECTIONMATRIX"),
              std::vector<float>(&camera.projection.m[0][0], &camera.projection.m[0][0] + 16));
    ExpectFarPlaneRays();
}

TEST_F(PostEffectsTest, PointLightsAreAddedInFullScreenPassesOfUpToTheirShareLeavingOutThoseFarBehind)
{
    StartShow();
    post.Load();
    RenderTargetEntry& normalDepth = Target(64, 32, D3DFMT_A32B32G32R32F);
    RenderTargetEntry& colour = Target(64, 32);
    RTHandler::BindTarget(0, Target(64, 32));
    D3DXMATRIX back;
    D3DXMatrixTranslation(&back, 0.0f, 0.0f, -10.0f);
    CurrentCamera(back);
    // The camera at z = 10 looks down -z, near 1: the second light lies 3 radii behind the plane.
    // Fourteen lights less that one: twelve in the first pass over the one tile, one in the second.
    std::vector<PostEffects::PointLight> lights{{{1, 2, 0}, {0.5f, 0.7f, 0.8f}, 5}, {{0, 0, 14}, {1, 1, 1}, 1}};
    for (int i = 0; i < 12; ++i)
        lights.push_back({{0, 0, -float(i)}, {1, 0.3f, 0.1f}, 2});

    const std::vector<Seen> seen = Drawn([&] { post.DrawPointLights(normalDepth, colour, lights); });
    ASSERT_EQ(Techniques(seen), (std::vector<std::string>{"Def_PointLights", "Def_PointLights"}));
    const std::vector<float> spheres = seen[0].pass.Floats("DLIGHTSPHERES");
    ExpectNear({spheres.begin(), spheres.begin() + 8}, {1, 2, -10, 0.2f, 0, 0, -10, 0.5f}, 1e-5f);
    const std::vector<float> lastSpheres = seen[1].pass.Floats("DLIGHTSPHERES");
    ExpectNear({lastSpheres.begin(), lastSpheres.begin() + 4}, {0, 0, -21, 0.5f}, 1e-5f);
    // The places after the pass's lights add nothing: black, whatever their sphere.
    const std::vector<float> lastColours = seen[1].pass.Floats("DLIGHTCOLOURS");
    ExpectNear({lastColours.begin(), lastColours.begin() + 4}, {1, 0.3f, 0.1f, 0});
    EXPECT_EQ(std::vector<float>(lastColours.begin() + 4, lastColours.end()), std::vector<float>(44, 0.0f));
    EXPECT_EQ(seen[0].pass.Texture("COLTEX3"), colour.texture);

    post.lightsPerPass = 1;
    EXPECT_EQ(Techniques(Drawn([&] { post.DrawPointLights(normalDepth, colour, {lights.data(), 3}); })),
              (std::vector<std::string>{"Def_PointLight", "Def_PointLight"}));
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
    // its up. Near 1, so a light at world z lies 11 - z in front of the plane the test uses.
    D3DXMATRIX turn, back, view;
    D3DXMatrixRotationZ(&turn, QuarterTurn);
    D3DXMatrixTranslation(&back, 0.0f, 0.0f, -10.0f);
    D3DXMatrixMultiply(&view, &turn, &back);
    CurrentCamera(view);

    EXPECT_TRUE(light(14.0f).empty()) << "3 behind: more than two radii";
    for (const auto& [z, technique] : {std::pair{13.0f, "Def_PointLightBackside"}, {9.01f, "Def_PointLightBackside"},
                                       {9.0f, "Def_PointLight"}, {0.0f, "Def_PointLight"}}) {
        SCOPED_TRACE(z);
        const std::vector<Seen> seen = light(z);
        ASSERT_EQ(Techniques(seen), std::vector<std::string>{technique});
        const EffectPassSnapshot& pass = seen[0].pass;
        ExpectNear(pass.Floats("DLIGHTPOS"), {0.0f, 2.0f, z - 10.0f}, 1e-5f);
        EXPECT_EQ(pass.Floats("DLIGHTCOL"), (std::vector<float>{0.5f, 0.7f, 0.8f}));
        EXPECT_EQ(pass.Floats("DLIGHTRAD"), std::vector<float>{1.0f});
        ExpectNear(pass.Floats("UPDIR"), {-1.0f, 0.0f, 0.0f});
        ExpectNear(pass.Floats("FARCLIPVALUES"), {100.0f, 50.0f, 50.0f}, 1e-4f);
        ExpectNear(pass.Floats("RTDIMPIXELINV"), {1.0f / 64, -1.0f / 32});
        EXPECT_EQ(pass.Texture("COLTEX1"), normalDepth.texture);
        EXPECT_EQ(pass.Texture("COLTEX3"), colour.texture);
    }
    // The sphere a little larger than the light, at the light, without motion.
    const D3DXMATRIX& world = post.lightSphere->worldMatrix;
    EXPECT_EQ((std::vector<float>{world(0, 0), world(1, 1), world(2, 2), world(3, 0), world(3, 1), world(3, 2)}),
              (std::vector<float>{1.05f, 1.05f, 1.05f, 2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(post.lightSphere->previousWorldMatrix, world);
    ExpectFarPlaneRays();
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
    CurrentCamera(IdentityMatrix());
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer), D3DERR_INVALIDCALL);
    EXPECT_EQ(FrameworkFailure([&] { post.AmbientOcclusion(normalDepth); }),
              "Error: D3DERR_INVALIDCALL\n\n.\\Source\\Modules\\PostEffects\\PostEffects.cpp : 734");
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer), E_OUTOFMEMORY);
    EXPECT_EQ(FrameworkFailure([&] { post.DrawPointLight(normalDepth, normalDepth, {}, {}, 1.0f); }),
              "Error: E_OUTOFMEMORY\n\n.\\Source\\Modules\\PostEffects\\PostEffects.cpp : 819");
}
