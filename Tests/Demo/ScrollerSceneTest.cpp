// The scroller scene in the show's assembly on the Recorder: the environment cube drawn face by
// face over white, the solid picture with the metal cubes, the folded text and the floor glow, the
// particles over it behind the solids' depth, the family's finish; the orbiting lights; and
// the recolouring at 51 s, which happens once per run.
#include "Demo/ShowScenesFixture.h"

#include "Demo/Scenes/ScrollerScene.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/ParticleField/ParticleField.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<std::string> Repeat(const std::string& technique, int times)
{
    return std::vector<std::string>(static_cast<size_t>(times), technique);
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::string> Folded(const std::string& technique)
{
    return {technique + "_zcull", technique, technique, technique + "_zcull"};
}

} // namespace

class ScrollerSceneTest : public ShowScenesFixture {
protected:
    // Frames at 60 a second from..to; returns the last one's draws.
    std::vector<EffectPassSnapshot> PlayFrom(double from, double to)
    {
        std::vector<EffectPassSnapshot> drawn;
        for (int frame = 0; from + frame / 60.0 <= to; ++frame)
            drawn = Frame(from + frame / 60.0);
        return drawn;
    }

    bool Recoloured()
    {
        return static_cast<ScrollerScene&>(*SceneHandler::Instance()->Scenes().at(ScrollerScene::SceneName)).recoloured;
    }

    ParticleField& Field() { return ModuleHandler::Instance()->GetModuleAs<ParticleField>("ParticleField"); }

    // The first particle colour of the field's sprites, as the sprites store it.
    uint32_t FirstColour() { return BufferValues<uint32_t>(*Field().sprites->colourBuffer)[0]; }
};

TEST_F(ScrollerSceneTest, AFrameDrawsTheEnvironmentTheSolidPictureAndTheParticlesBehindTheSolidsDepth)
{
    Assemble();
    PlayFrom(39.5, 39.99);
    const size_t clearsBefore = recorder->Count(Op::Clear);
    const std::vector<EffectPassSnapshot> drawn = Frame(40.0);
    ASSERT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), "TindrevikScroller");
    const std::vector<std::string> expected = Join({
        Repeat("EnvParticle", 6),
        {"FillQuad", "ramp"},
        Repeat("Metal", 5),
        Folded("ScrollerShader"),
        {"Default_tex"},
        {"Particle"},
        {"BlurV", "BlurH", "BlurV", "BlurH", "BlurV", "BlurH", "BlurV", "BlurH"},
        {"MotionBlur", "EasiestFilterEver"},
    });
    EXPECT_EQ(Techniques(drawn), expected);
    const auto particles = std::find_if(drawn.begin(), drawn.end(), [](const auto& draw) { return draw.technique == "Particle"; });
    ASSERT_NE(particles, drawn.end());
    EXPECT_EQ(particles->Floats("TRAILFADE"), std::vector<float>{0.0f}) << "no trails over the solid picture";

    // The solid picture goes straight into "Color", and the particles are tested against the depth
    // it left there: the same target and depth surface for the cubes, the text and the particles.
    const ScrollerScene& scene = dynamic_cast<const ScrollerScene&>(*SceneHandler::Instance()->GetCurrentScene());
    const IDirect3DSurface9* colour = scene.GetRenderTarget("Color").surface;
    const DeviceState& particlesBound = recorder->Bound(Op::DrawIndexedPrimitive, particles->firstDraw);
    for (const EffectPassSnapshot& draw : drawn) {
        if (draw.technique != "Metal" && draw.technique != "ScrollerShader" && draw.technique != "Particle")
            continue;
        const DeviceState& bound = recorder->Bound(Op::DrawIndexedPrimitive, draw.firstDraw);
        EXPECT_EQ(bound.renderTargets[0], colour) << draw.technique;
        EXPECT_EQ(bound.depthStencil, particlesBound.depthStencil) << draw.technique;
        EXPECT_EQ(bound.viewport.Width, scene.GetRenderTarget("Color").width) << draw.technique;
    }

    // Each face of the environment is bound and cleared white before its particles are drawn.
    const CubeTargetEntry& cube = scene.GetCubeTarget("EnvCube");
    size_t faceClears = 0;
    for (size_t clear = clearsBefore; clear < recorder->Count(Op::Clear); ++clear) {
        const auto face = std::find(cube.faces.begin(), cube.faces.end(), recorder->Bound(Op::Clear, clear).renderTargets[0]);
        if (face == cube.faces.end())
            continue;
        EXPECT_EQ(static_cast<size_t>(face - cube.faces.begin()), faceClears % 6);
        EXPECT_EQ(recorder->Call<Op::Clear>(clear).Color, D3DCOLOR(0xFFFFFFFF));
        EXPECT_EQ(recorder->Call<Op::Clear>(clear).Flags, DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
        ++faceClears;
    }
    EXPECT_EQ(faceClears, 6u);
}

// The earlier frame, which the benchmarks and the stills' comparison measure against, still draws
// the solid picture into the back buffer, copies it and draws the solids' depth again.
TEST_F(ScrollerSceneTest, TheEarlierFrameDrawsThroughTheBackBufferWithASecondDepthPass)
{
    Assemble();
    PlayFrom(39.5, 39.99);
    auto& scene = dynamic_cast<ScrollerScene&>(*SceneHandler::Instance()->GetCurrentScene());
    scene.solidsThroughBackBuffer = true;
    const size_t copiesBefore = recorder->Count(Op::StretchRect);
    const std::vector<std::string> techniques = Techniques(Frame(40.0));
    const auto depthPass = std::find(techniques.begin(), techniques.end(), "Zbuffer");
    ASSERT_NE(depthPass, techniques.end());
    EXPECT_EQ(std::vector<std::string>(depthPass, depthPass + 10),
              Join({Repeat("Zbuffer", 5), Folded("ScrollerShaderZBuffer"), {"Particle"}}));
    EXPECT_EQ(recorder->Count(Op::StretchRect) - copiesBefore, 2u) << "the picture into Color, and again for the filter";
}

TEST_F(ScrollerSceneTest, TheFiveLightsOrbitTheYAxisEachAtItsOwnRate)
{
    for (int i = 0; i < ScrollerScene::LightCount; ++i) {
        const D3DXVECTOR3 start = ScrollerScene::LightPosition(i, 0.0);
        const D3DXVECTOR3& base = ScrollerScene::LightBases[static_cast<size_t>(i)];
        EXPECT_TRUE(start.x == base.x && start.y == base.y && start.z == base.z) << "light " << i + 1;
        // After a whole turn of its own it is back; halfway it is across the axis.
        const double turn = 2.0 * 3.14159265358979 / ((1.0 + 0.1 * i) * 0.2);
        const D3DXVECTOR3 back = ScrollerScene::LightPosition(i, turn);
        const D3DXVECTOR3 across = ScrollerScene::LightPosition(i, turn / 2);
        EXPECT_NEAR(back.x, start.x, 1e-3f) << "light " << i + 1;
        EXPECT_NEAR(across.x, -start.x, 1e-3f) << "light " << i + 1;
        EXPECT_NEAR(across.z, -start.z, 1e-3f) << "light " << i + 1;
        EXPECT_EQ(across.y, start.y);
    }
    const D3DXVECTOR3 first = ScrollerScene::LightPosition(0, 5.0 * 3.14159265358979);
    EXPECT_NEAR(first.x, -4.0f, 1e-4f);
    EXPECT_NEAR(first.z, -4.0f, 1e-4f);

    Assemble();
    const std::vector<EffectPassSnapshot> drawn = PlayFrom(40.0, 40.0);
    const auto metal = std::find_if(drawn.begin(), drawn.end(), [](const auto& draw) { return draw.technique == "Metal"; });
    ASSERT_NE(metal, drawn.end());
    const D3DXVECTOR3 third = ScrollerScene::LightPosition(2, 40.0);
    EXPECT_EQ(metal->Floats("light3"), (std::vector<float>{third.x, third.y, third.z})) << "the cubes see the lights";
}

TEST_F(ScrollerSceneTest, PastFiftyOneSecondsTheParticlesAreRecolouredOnceAndNeverAgain)
{
    Assemble();
    PlayFrom(50.9, 50.95);
    EXPECT_EQ(FirstColour(), 0x001AB3E6u) << "the start colours";
    EXPECT_FALSE(Recoloured());
    PlayFrom(51.0, 51.05);
    EXPECT_TRUE(Recoloured());
    EXPECT_EQ(FirstColour(), 0x00BF40B3u);
    EXPECT_EQ(BufferValues<uint32_t>(*Field().sprites->colourBuffer)[4], 0x0059D9FFu) << "(0.35, 0.85, 1)";

    // Another scene and back, after 51 s: Start puts the start colours back and nothing recolours.
    Frame(80.0);
    PlayFrom(60.0, 60.05);
    EXPECT_EQ(BufferValues<uint32_t>(*Field().sprites->colourBuffer)[4], 0x004DE6FFu) << "(0.3, 0.9, 1)";
}

TEST_F(ScrollerSceneTest, AShowThatStartsAfterFiftyOneSecondsRecoloursAndEmptiesTheFieldOnItsFirstFrame)
{
    Assemble();
    Frame(60.0);
    EXPECT_TRUE(Recoloured());
    EXPECT_EQ(BufferValues<uint32_t>(*Field().sprites->colourBuffer)[4], 0x0059D9FFu);
    EXPECT_EQ(Field().count, 0);
}
