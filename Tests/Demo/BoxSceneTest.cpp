// The box scene in the show's assembly on the Recorder: the deferred frame in order, the three ways
// "WhiteFade" ends it, the focus every draw sees, the point lights riding on the swarm and the
// occlusion's live keys.
#include "Demo/ShowScenesFixture.h"

#include "Demo/Scenes/BoxScene.h"
#include "Demo/Scenes/SwarmFocus.h"
#include "Framework/Input/KeyHandler.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/ParticleDance/ParticleDance.h"
#include "Modules/PostEffects/PostEffects.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

size_t CountOf(const std::vector<std::string>& techniques, const std::string& technique)
{
    return static_cast<size_t>(std::count(techniques.begin(), techniques.end(), technique));
}

bool IsLight(const std::string& technique)
{
    return technique == "Def_PointLights";
}

} // namespace

class BoxSceneTest : public ShowScenesFixture {
protected:
    void SetUp() override
    {
        ShowScenesFixture::SetUp();
        radius = PostEffects::SampleRadius();
        strength = PostEffects::SampleDistanceScale();
    }

    void TearDown() override
    {
        PostEffects::SampleRadius() = radius;
        PostEffects::SampleDistanceScale() = strength;
        ShowScenesFixture::TearDown();
    }

    // Frames of the box scene at 60 a second; the last one's draws.
    std::vector<EffectPassSnapshot> Frames(int count)
    {
        std::vector<EffectPassSnapshot> drawn;
        for (int frame = 0; frame < count; ++frame)
            drawn = Frame(80.0 + clock++ / 60.0);
        return drawn;
    }

    void AssembleFading(float fade)
    {
        Assemble({{"Data\\sync_WhiteFade.track", Constant(fade)}});
    }

    float radius = 0.0f;
    float strength = 0.0f;
    int clock = 0;
};

TEST_F(BoxSceneTest, AFrameBuildsDepthAndNormalsLightsTheSceneAndEndsThroughTheLens)
{
    AssembleFading(0.0f);
    const std::vector<std::string> drawn = Techniques(Frames(3));
    ASSERT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), "TindrevikInsideCube");
    // The swarm's colour, motion and depth in one draw.
    const std::vector<std::string> head(drawn.begin(), drawn.begin() + 7);
    EXPECT_EQ(head, (std::vector<std::string>{"FillQuad", "Default", "DropsEveryTarget", "BlurV", "BlurH",
                                              "DepthToNormal", "AmbientOcclusion"}));
    const auto firstLight = std::find_if(drawn.begin(), drawn.end(), IsLight);
    const auto combine = std::find(drawn.begin(), drawn.end(), "AmbientOcclusionCombine");
    ASSERT_LT(firstLight, combine);
    EXPECT_TRUE(std::all_of(firstLight, combine, IsLight)) << "the lights, then the combine";
    EXPECT_GE(combine - firstLight, 2) << "the 21 lights in passes over the tiles they reach";
    const std::vector<std::string> tail(combine, drawn.end());
    // The depth of field's five pairs at full size are drawn as two at half size.
    EXPECT_EQ(tail, (std::vector<std::string>{"AmbientOcclusionCombine", "DOF_blurH", "DOF_blurV", "DOF_blurH", "DOF_blurV",
                                              "DofQuad", "BlurV", "BlurH", "MotionBlur", "EasiestFilterEver"}));
}

TEST_F(BoxSceneTest, WhiteFadeBloomsTheMotionBlurredPictureAndFromTwoOnShowsOnlyTheOcclusion)
{
    for (const float fade : {0.5f, -0.5f, std::numeric_limits<float>::quiet_NaN()}) {
        AssembleFading(fade);
        const std::vector<std::string> drawn = Techniques(Frames(2));
        const auto motion = std::find(drawn.begin(), drawn.end(), "MotionBlur");
        const auto bloom = std::find(drawn.begin(), drawn.end(), "BloomFadeCombine");
        EXPECT_LT(motion, bloom) << "fade " << fade;
        EXPECT_EQ(CountOf(drawn, "DownSample"), 4u) << "fade " << fade;
        EXPECT_EQ(drawn.back(), "EasiestFilterEver") << "fade " << fade;
        TearDown();
        SetUp();
    }
    for (const float fade : {2.0f, 7.0f}) {
        AssembleFading(fade);
        const std::vector<std::string> drawn = Techniques(Frames(2));
        EXPECT_EQ(drawn.back(), "AmbientOcclusion") << "fade " << fade;
        EXPECT_EQ(CountOf(drawn, "AmbientOcclusion"), 1u);
        EXPECT_TRUE(std::none_of(drawn.begin(), drawn.end(), IsLight));
        EXPECT_EQ(CountOf(drawn, "EasiestFilterEver"), 0u);
        TearDown();
        SetUp();
    }
}

TEST_F(BoxSceneTest, EveryDrawSeesTheFocusOnTheSwarmThroughTheActiveCamera)
{
    AssembleFading(0.5f);
    const std::vector<EffectPassSnapshot> drawn = Frames(2);
    const Scene& scene = *SceneHandler::Instance()->GetCurrentScene();
    const auto& drops = ModuleHandler::Instance()->GetModuleAs<ParticleDance>("ParticleDance").positions;
    const SwarmFocus expected = FocusOnSwarm(drops, scene.cameraSet.GetActiveCamera()->view);
    EXPECT_FALSE(expected.distance == 8.0f && expected.range == 10.0f) << "the lens' own focus tells nothing";
    size_t seen = 0;
    for (const EffectPassSnapshot& draw : drawn)
        for (const EffectParameterSnapshot& parameter : draw.parameters)
            if (parameter.semantic == "FOCUS_MAXZ") {
                EXPECT_EQ(parameter.floats, (std::vector<float>{expected.distance, expected.range})) << draw.technique;
                ++seen;
            }
    EXPECT_GT(seen, 20u);
}

TEST_F(BoxSceneTest, ZAndXTuneTheOcclusionWithShiftBackwardsAndControlTenfoldWithinTheirRanges)
{
    AssembleFading(0.0f);
    KeyHandler& keys = *KeyHandler::Instance();
    PostEffects::SampleRadius() = 0.2f;
    PostEffects::SampleDistanceScale() = 8.0f;

    keys.KeyDown(BoxScene::AOSizeKey);
    Frames(10);
    EXPECT_NEAR(PostEffects::SampleRadius(), 0.3f, 1e-5f);
    keys.KeyDown(KeyHandler::VK_SHIFT);
    Frames(20);
    EXPECT_NEAR(PostEffects::SampleRadius(), 0.1f, 1e-5f);
    Frames(30);
    EXPECT_EQ(PostEffects::SampleRadius(), 0.0f) << "held at its minimum";
    keys.KeyUp(BoxScene::AOSizeKey);
    keys.KeyUp(KeyHandler::VK_SHIFT);

    keys.KeyDown(BoxScene::AOStrengthKey);
    keys.KeyDown(KeyHandler::VK_RCONTROL);
    Frames(2);
    EXPECT_EQ(PostEffects::SampleDistanceScale(), 18.0f);
    Frames(200);
    EXPECT_EQ(PostEffects::SampleDistanceScale(), 800.0f);
    keys.KeyUp(BoxScene::AOStrengthKey);
    Frames(1);
    EXPECT_EQ(PostEffects::SampleDistanceScale(), 800.0f) << "released, it stays";
    EXPECT_EQ(PostEffects::SampleRadius(), 0.0f);
}
