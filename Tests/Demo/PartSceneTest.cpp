// The part scenes on the Recorder, with the show's post-processing effect and small stand-ins for
// the family's own effects: the targets they hold, the passes of a frame in order, the fade that
// runs only when "WhiteFade" is not 0, the overlays of the intro and the end, and the particles'
// colours and emitters per scene.
#include "Modules/PostEffectsFiles.h"
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Demo/Scenes/PartScene.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/PostEffects/PostEffects.h"
#include "sync/trackfile.h"

#include <algorithm>

namespace {

// A camera and the three emitters of a scene numbered n.
std::vector<unsigned char> SceneFile(const std::string& n)
{
    std::string text = "<scene><cameras><camera name=\"Cam" + n + "\"/></cameras><lights>";
    for (int i = 1; i <= 3; ++i)
        text += "<spot name=\"emitter" + std::to_string(i) + "_" + n + "\" translation=\"" + std::to_string(i) +
                " 0 0\" radius=\"10\" coneangle=\"0.5\"/>";
    return Bytes(text + "</lights></scene>");
}

std::vector<unsigned char> Track(const std::vector<TrackRecord>& records)
{
    return EncodeTrackRecords(records);
}

const std::string ParticleEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
glsl vertex V(vec3 Centre : POSITION0, vec3 Corner : NORMAL0) {
    void main() { gl_Position = vec4(Centre + Corner, 1.0) * WorldViewProj; }
}
glsl fragment F(vec4 Color : COLOR0, vec4 Velocity : COLOR1) { void main() { Color = vec4(1.0); Velocity = vec4(0.0); } }
technique Particle { pass P0 { VertexShader = V; PixelShader = F; } }
)";

const std::string FilterEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
texture2D Background : BGTEX;
sampler2D BackgroundSampler = sampler_state { Texture = Background; };
glsl vertex V(vec3 Centre : POSITION0, vec3 Corner : NORMAL0) {
    void main() { gl_Position = vec4(Centre + Corner, 1.0) * WorldViewProj; }
}
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = texture(BackgroundSampler, vec2(0.5)); } }
technique EasiestFilterEver { pass P0 { VertexShader = V; PixelShader = F; } }
)";

// The rows from which "WhiteFade" reads 0.5.
constexpr uint32_t FadeRow = 100;

} // namespace

class PartSceneTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        ArchiveEntries entries = StillCameraTracks();
        entries["OShaders\\PostEffects.fxo"] = CompiledShowEffect("PostEffects.fx");
        entries["OShaders\\Tindrevik.fxo"] = CompileEffect(ParticleEffect);
        entries["OShaders\\EasiestFilterEver.fxo"] = CompileEffect(FilterEffect);
        entries["OShaders\\Default.fxo"] = CompileEffect(ParticleEffect);
        entries["Data\\usphere.x"] = Bytes(GreyTriangleMesh);
        for (const PartSceneData& data : PartScenes())
            entries["Data\\" + data.sceneFile] = SceneFile(data.emitters[0].substr(data.emitters[0].find('_') + 1));
        entries["Data\\sync_WhiteFade.track"] = Track({{0, 0.0f, 0}, {FadeRow, 0.5f, 0}});
        entries["Data\\sync_Particles_FieldForce.track"] = Track({{0, 1.0f, 0}});
        entries["Data\\sync_Filter_NumQuads.track"] = Track({{0, 3.0f, 0}});
        entries["Data\\sync_Filter_XSize.track"] = Track({{0, 1.0f, 0}});
        entries["Data\\sync_Filter_YSize.track"] = Track({{0, 1.0f, 0}});
        entries["Data\\sync_Filter_Wildness.track"] = Track({{0, 1.0f, 0}});
        Start(entries);

    }

    // Registers the modules and the seven scenes, the named one last so that it is current (as
    // the timeline makes it), then loads them: the intro's Load registers the family's effects.
    PartScene& Open(const std::string& current)
    {
        ModuleHandler& modules = *ModuleHandler::Instance();
        modules.AddModule(std::make_unique<PostEffects>("PostFX"));
        modules.AddModule(std::make_unique<EasiestFilterEver>("EasiestFilterEver"));
        std::vector<std::unique_ptr<PartScene>> scenes;
        for (const PartSceneData& data : PartScenes())
            scenes.push_back(std::make_unique<PartScene>(data));
        std::stable_partition(scenes.begin(), scenes.end(), [&](const auto& scene) { return scene->GetName() != current; });
        for (auto& scene : scenes)
            SceneHandler::Instance()->AddScene(std::move(scene));
        modules.LoadAll();
        for (const PartSceneData& data : PartScenes())
            Scene(data.name).Load();
        return Scene(current);
    }

    void TearDown() override
    {
        ModuleHandler::Instance()->ReleaseAll();
        DXEffectFixture::TearDown();
    }

    PartScene& Scene(const std::string& name)
    {
        return dynamic_cast<PartScene&>(*SceneHandler::Instance()->Scenes().at(name));
    }

    // Makes the scene current as the timeline does and runs frames at the given times, a step of
    // the simulation each; returns the techniques of the last frame's draws.
    std::vector<std::string> Frames(PartScene& scene, const std::vector<double>& times)
    {
        scene.Activate();
        scene.Start();
        std::vector<std::string> techniques;
        for (double t : times) {
            Timer::SetFrameClock(t, 0.1);
            scene.SetFrameConstants();
            scene.Step();
            scene.Update();
            const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
            DXFramework::device->BeginScene();
            scene.Render();
            DXFramework::device->EndScene();
            techniques.clear();
            for (size_t draw = first; draw < recorder->Count(Op::DrawIndexedPrimitive); ++draw)
                techniques.push_back(draws.Draw(draw).technique);
        }
        scene.Deactivate();
        return techniques;
    }

    static std::vector<std::string> Repeat(const std::vector<std::string>& part, int times)
    {
        std::vector<std::string> all;
        for (int i = 0; i < times; ++i)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }

    static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
    {
        std::vector<std::string> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }
};

TEST_F(PartSceneTest, AFrameDrawsParticlesBlursTheirVelocityAndFiltersTheMotionBlurredPicture)
{
    const std::vector<std::string> drawn = Frames(Open("TindrevikPart1"), {0.5, 0.6, 0.7, 0.8, 0.9, 1.0});
    const std::vector<std::string> expected =
        Join({{"FillQuad", "ramp", "Particle"}, Repeat({"BlurV", "BlurH"}, 4), {"MotionBlur", "EasiestFilterEver"}});
    EXPECT_EQ(drawn, expected);
}

TEST_F(PartSceneTest, AFadeOtherThanZeroBloomsTowardsWhite)
{
    const double faded = (FadeRow + 1) / SyncRowRate;
    const std::vector<std::string> drawn = Frames(Open("TindrevikPart2"), {faded, faded + 0.1});
    const std::vector<std::string> bloomLevel = Join({{"DownSample"}, Repeat({"BlurV", "BlurH"}, 5)});
    const std::vector<std::string> tail = Join({Repeat(bloomLevel, 4), {"BloomGather", "BloomFadeCombine"}});
    ASSERT_GE(drawn.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(drawn.end() - static_cast<std::ptrdiff_t>(tail.size()), drawn.end()), tail);
    EXPECT_EQ(draws.Draw(recorder->Count(Op::DrawIndexedPrimitive) - 1).Floats("VALUE1"),
              (std::vector<float>{1.5f, 0.5f, 0.25f, 0.0f}));
}

TEST_F(PartSceneTest, TheIntroOverlaysBeforeTheFadeAndTheEndAfterIt)
{
    PartScene& intro = Open("TindreVikIntro");
    EXPECT_EQ(Frames(intro, {0.5}).back(), "Overlay0");
    const double faded = (FadeRow + 1) / SyncRowRate;
    const std::vector<std::string> fading = Frames(intro, {faded});
    EXPECT_EQ(fading.back(), "BloomFadeCombine");
    EXPECT_NE(std::find(fading.begin(), fading.end(), "Overlay0"), fading.end());
    EXPECT_EQ(fading[0], "FillQuad");
    EXPECT_NE(fading[1], "ramp") << "no background";
}

TEST_F(PartSceneTest, TheEndOverlaysLastWhetherOrNotItFades)
{
    PartScene& end = Open("TindrevikEnd");
    EXPECT_EQ(Frames(end, {0.5}).back(), "Overlay1");
    EXPECT_EQ(Frames(end, {(FadeRow + 1) / SyncRowRate}).back(), "Overlay1");
}

TEST_F(PartSceneTest, ActivateHoldsTheFrameTargetsAndFourBloomLevels)
{
    PartScene& scene = Open("TindrevikPart3");
    scene.Activate();
    EXPECT_EQ(scene.renderTargets.size(), 11u);
    EXPECT_EQ(scene.GetRenderTarget("VelocityField2").format, D3DFMT_G16R16F);
    EXPECT_EQ(scene.GetRenderTarget("Color").width, 800u);
    EXPECT_EQ(scene.GetRenderTarget("bloom_3_a").width, 100u);
    EXPECT_EQ(scene.GetRenderTarget("bloom_3_b").height, 56u);
    scene.Deactivate();
}

TEST_F(PartSceneTest, StartRecoloursTheParticlesWithTheScenesColours)
{
    Open("TindrevikPart2").Start();
    ParticleField& field = ModuleHandler::Instance()->GetModuleAs<ParticleField>("ParticleField");
    const std::vector<uint32_t> colours = BufferValues<uint32_t>(*field.sprites->colourBuffer);
    // (0.2, 0.6, 1) and then (0.1, 0.85, 0.9), alpha 0: 0.85 * 255 + 0.5 truncates to 217.
    EXPECT_EQ(colours[0], 0x003399FFu);
    EXPECT_EQ(colours[4], 0x001AD9E6u);
}

TEST_F(PartSceneTest, AMissingEmitterNamesTheSceneFileAndTheLight)
{
    PartScene& scene = Open("TindrevikPart4");
    scene.lights.erase("emitter2_4");
    EXPECT_EQ(FrameworkFailure([&] { scene.Step(); }),
              "[TindrevikPart4::Step] The scene file \"Tindrevik_scene4.xml\" has no spot light \"emitter2_4\"");
}
