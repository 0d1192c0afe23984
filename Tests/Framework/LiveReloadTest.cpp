// A show running in the maker's mode on the Recorder, with a loose folder ahead of its archive:
// each kind of file saved there reaches the next frame, a broken one leaves the last good version
// and a standing problem, and reloading leaks nothing.
#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXMesh/DXMesh.h"
#include "Framework/LiveReload/LiveData.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/Scene/AnimCurve.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Framework/Transport/Transport.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Platform/Gfx/Recorder/EffectDrawLog.h"
#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"
#include "sync/device.h"
#include "sync/trackfile.h"
#include "Framework/Scene/CurveFile.h"

#include <map>

namespace {

std::string LiveEffect(const std::string& extraTechnique)
{
    return R"(
texture2D Dots : TEXTURE0 < string ResourceName = "dots.png"; >;
sampler2D DotsSampler = sampler_state { Texture = Dots; };
float4x4 World : LOCALVIEWPROJ;
float4 Tint : TINT;
glsl vertex Corner(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * World; } }
glsl fragment Shade(vec4 Color : COLOR0) { void main() { Color = texture(DotsSampler, vec2(0.5)); } }
technique Default { pass P0 { VertexShader = Corner; PixelShader = Shade; } }
)" + extraTechnique;
}

const std::string GlowTechnique = "technique Glow { pass P0 { VertexShader = Corner; PixelShader = Shade; } }\n";

std::vector<unsigned char> Track(float value)
{
    return EncodeTrackRecords({{0, value, 0}, {64, value, 0}});
}

std::vector<unsigned char> Curve(float value)
{
    return EncodeCurveKeys({{0.0f, value, 0.0f, 0.0f}, {200.0f, value, 0.0f, 0.0f}});
}

std::vector<unsigned char> SceneXml(const std::string& camera)
{
    return Bytes("<scene><cameras><camera name=\"" + camera +
                 "\" vFOV=\"0.6\" aspect=\"1.777\" nearz=\"0.5\" farz=\"200\" nearfocus=\"8\" farfocus=\"30\"/>"
                 "</cameras><lights/></scene>");
}

const std::string QuadMesh = R"(xof 0303txt 0032
Mesh {
 4;
 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;;
 2;
 3;0,1,2;, 3;2,1,3;;
 MeshMaterialList { 1; 2; 0, 0;; Material { 0.5;0.5;0.5;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";

// What each frame saw.
struct Seen {
    float fade = 0.0f;
    float cameraX = 0.0f;
    std::string camera;
    DWORD vertices = 0;
};

class LiveScene : public Scene {
public:
    LiveScene() : Scene("Live") {}

    void Load() override
    {
        DXEffectHandler::Instance()->AddEffect("Live", "live.fx", DXFramework::Instance()->effectPool);
        // Set once, as modules set their constants: a reload must keep it.
        DXEffectHandler::SetActiveEffect("Live");
        const float tint[4] = {0.25f, 0.5f, 0.75f, 1.0f};
        DXEffectHandler::SetVec4BySemantic("TINT", tint);
        LoadSceneData("live.xml");
        fade = &DXFramework::Instance()->syncDevice->trackByName("Fade");
        mesh = std::make_unique<DXMesh>("", 0);
        mesh->LoadX("thing.x");
    }
    void Unload() override { mesh.reset(); }
    void Render() override
    {
        DXEffectHandler::SetActiveEffect("Live");
        DXEffectHandler::SetTechnique("Glow");
        DXEffectHandler::DrawObject(*mesh);
        seen.fade = fade->valueAt(static_cast<float>(Timer::GetElapsed() * SyncRowRate));
        seen.camera = cameraSet.GetActiveCamera()->name;
        seen.cameraX = cameraSet.GetPosition().x;
        seen.vertices = mesh->mesh->GetNumVertices();
    }

    Seen seen;
    const SyncTrack* fade = nullptr;
    std::unique_ptr<DXMesh> mesh;
};

class LiveReloadTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        ArchiveWriter writer;
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Live\n"));
        writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
        writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
        writer.Add("OShaders\\live.fxo", CompileEffect(LiveEffect("")));
        writer.Add("Data\\dots.png", SolidPng(2, 2, 10, 20, 30));
        for (const char* track : {"Fade", "CamZOffset", "ShakeAmplitude", "ShakeSpeed", "ActiveCam"})
            writer.Add(std::string("Data\\sync_") + track + ".track", Track(0.0f));
        for (const char* camera : {"Cam", "Other"})
            for (const char* channel : {"translateX", "translateY", "translateZ", "rotateX", "rotateY", "rotateZ"})
                writer.Add(std::string("Data\\anim\\") + camera + "." + channel, Curve(0.0f));
        writer.Add("Data\\live.xml", SceneXml("Cam"));
        writer.Add("Data\\thing.x", Bytes(GreyTriangleMesh));
        WriteArchive(writer.Build());
        std::filesystem::create_directories("loose/Data/anim");
        std::filesystem::create_directories("loose/OShaders");
        std::filesystem::create_directories("loose/Data/events");

        framework = MakeFramework("--nosetup --dev --data loose");
        SceneHandler::Instance()->AddScene(std::make_unique<LoggingScene>("Second", log));
        auto owned = std::make_unique<LiveScene>();
        scene = owned.get();
        SceneHandler::Instance()->AddScene(std::move(owned));
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
        Frame();
    }
    void TearDown() override
    {
        framework.reset();
        ShowFixture::TearDown();
    }

    // A frame at the show time, which a reload must leave where it was.
    void Frame()
    {
        Timer::SetFrameClock(time, 1.0 / 60.0);
        framework->StepFrame();
        time += 1.0 / 60.0;
    }

    // Saves into the loose folder, lets the saves settle, and runs the next frame.
    size_t SaveAndFrame(const std::map<std::string, std::vector<unsigned char>>& files)
    {
        for (const auto& [path, bytes] : files)
            WriteWholeFile("loose/" + path, bytes);
        const auto now = LiveData::Clock::now();
        framework->Live()->Poll(now);
        const double before = Timer::GetElapsed();
        const size_t reloads = framework->Live()->Poll(now + std::chrono::seconds(1));
        EXPECT_EQ(Timer::GetElapsed(), before) << "a reload keeps the show time";
        Frame();
        return reloads;
    }

    std::string LastTechnique() const { return drawLog.Snapshots().back().technique; }
    const IDirect3DBaseTexture9* LastTexture() const { return drawLog.Snapshots().back().Texture("Dots"); }

    EffectDrawLog drawLog{recorder};
    std::unique_ptr<DXFramework> framework;
    LiveScene* scene = nullptr;
    double time = 20.0;
};

} // namespace

TEST_F(LiveReloadTest, EachKindOfFileSavedReachesTheNextFrame)
{
    EXPECT_EQ(LastTechnique(), "Default") << "the archive's effect has no Glow yet";
    const IDirect3DBaseTexture9* firstTexture = LastTexture();

    EXPECT_EQ(SaveAndFrame({{"OShaders/live.fxo", CompileEffect(LiveEffect(GlowTechnique))}}), 1u);
    EXPECT_EQ(LastTechnique(), "Glow") << "the new technique is drawn";
    EXPECT_EQ(drawLog.Snapshots().back().Floats("Tint"), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}))
        << "what the show set on the old effect";

    EXPECT_EQ(SaveAndFrame({{"Data/dots.png", SolidPng(4, 4, 200, 0, 0)}}), 1u);
    EXPECT_NE(LastTexture(), firstTexture) << "the effect took the new texture";

    SaveAndFrame({{"Data/sync_Fade.track", Track(0.75f)}});
    EXPECT_EQ(scene->seen.fade, 0.75f);

    SaveAndFrame({{"Data/anim/Cam.translateX", Curve(3.5f)}});
    EXPECT_FLOAT_EQ(scene->seen.cameraX, 3.5f) << "the camera moved";

    SaveAndFrame({{"Data/live.xml", SceneXml("Other")}});
    EXPECT_EQ(scene->seen.camera, "Other") << "the scene file's cameras";

    EXPECT_EQ(scene->seen.vertices, 3u);
    SaveAndFrame({{"Data/thing.x", Bytes(QuadMesh)}});
    EXPECT_EQ(scene->seen.vertices, 4u) << "the new mesh";

    SaveAndFrame({{"Data/events/Scenes.txt", Bytes("0 Live\n20.01 Second\n")}});
    EXPECT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), "Second") << "the new timeline";

    EXPECT_TRUE(framework->Reloads()->Problems().empty());
}

TEST_F(LiveReloadTest, SavesOfOneMomentReloadOnce)
{
    // A build writes an effect, its texture and a track at once: the effect loads once, the track once.
    EXPECT_EQ(SaveAndFrame({{"OShaders/live.fxo", CompileEffect(LiveEffect(GlowTechnique))},
                            {"Data/dots.png", SolidPng(4, 4, 1, 2, 3)},
                            {"Data/sync_Fade.track", Track(0.5f)}}),
              2u);
    EXPECT_EQ(LastTechnique(), "Glow");
    EXPECT_EQ(scene->seen.fade, 0.5f);
}

TEST_F(LiveReloadTest, BrokenFilesKeepTheLastGoodVersionUntilFixed)
{
    SaveAndFrame({{"Data/sync_Fade.track", Track(0.25f)}});
    const std::map<std::string, std::vector<unsigned char>> broken = {
        {"OShaders/live.fxo", Bytes("not an effect")},
        {"Data/sync_Fade.track", {}},
        {"Data/anim/Cam.translateX", EncodeCurveKeys({{5.0f, 1.0f, 0, 0}, {1.0f, 2.0f, 0, 0}})},
        {"Data/thing.x", Bytes("xof 0303txt 0032\nMesh { 3; broken")},
        {"Data/live.xml", Bytes("<scene><cameras>\n<camera name=\"X\"></scene>")},
        {"Data/events/Scenes.txt", Bytes("0 Live\n1 Nowhere\n")},
    };
    SaveAndFrame(broken);

    EXPECT_EQ(scene->seen.fade, 0.25f);
    EXPECT_EQ(scene->seen.camera, "Cam");
    EXPECT_FLOAT_EQ(scene->seen.cameraX, 0.0f);
    EXPECT_EQ(scene->seen.vertices, 3u);
    EXPECT_EQ(LastTechnique(), "Default") << "the old effect draws on";
    std::set<std::string> files;
    for (const ReloadProblem& problem : framework->Reloads()->Problems())
        files.insert(problem.file);
    EXPECT_EQ(files, (std::set<std::string>{"OShaders\\live.fxo", "Data\\sync_Fade.track", "Data\\anim\\Cam.translateX",
                                            "Data\\thing.x", "Data\\live.xml", "Data\\events\\Scenes.txt"}));
    EXPECT_EQ(SceneHandler::Instance()->GetCurrentScene(), scene);
    for (const ReloadProblem& problem : framework->Reloads()->Problems()) {
        if (problem.file == "Data\\live.xml") {
            EXPECT_EQ(problem.line, 2u) << problem.message;
        }
    }

    SaveAndFrame({{"OShaders/live.fxo", CompileEffect(LiveEffect(GlowTechnique))},
                  {"Data/sync_Fade.track", Track(0.5f)},
                  {"Data/anim/Cam.translateX", Curve(2.0f)},
                  {"Data/thing.x", Bytes(QuadMesh)},
                  {"Data/live.xml", SceneXml("Cam")},
                  {"Data/events/Scenes.txt", Bytes("0 Live\n")}});
    EXPECT_TRUE(framework->Reloads()->Problems().empty());
    EXPECT_EQ(LastTechnique(), "Glow");
    EXPECT_EQ(scene->seen.fade, 0.5f);
    EXPECT_FLOAT_EQ(scene->seen.cameraX, 2.0f);
    EXPECT_EQ(scene->seen.vertices, 4u);

    // A texture the effect names: the effect draws on with the old one.
    const IDirect3DBaseTexture9* goodTexture = LastTexture();
    SaveAndFrame({{"Data/dots.png", Bytes("not a picture")}});
    EXPECT_EQ(LastTexture(), goodTexture);
    EXPECT_EQ(LastTechnique(), "Glow");
    ASSERT_EQ(framework->Reloads()->Problems().size(), 1u);
    EXPECT_EQ(framework->Reloads()->Problems()[0].file, "Data\\dots.png");
    SaveAndFrame({{"Data/dots.png", SolidPng(4, 4, 1, 2, 3)}});
    EXPECT_NE(LastTexture(), goodTexture);
    EXPECT_TRUE(framework->Reloads()->Problems().empty());
}

TEST_F(LiveReloadTest, TheDataBuildsEndReloadsAtOnceAndItsRefusalsShowUntilItRunsClean)
{
    framework->transport = std::make_unique<Transport>(*framework);
    const auto overlayHas = [&](const std::string& text) {
        const std::vector<std::string> lines = framework->transport->OverlayLines();
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    // What the build wrote, then its problems file, which it writes last: no wait to settle.
    WriteWholeFile("loose/Data/sync_Fade.track", Track(0.5f));
    WriteWholeFile("loose/" + LiveData::BuildProblemsFile,
                   Bytes("Data/sync/Curl.txt:3: a key needs a value\nninja: build stopped\n"));
    testing::internal::CaptureStderr();
    framework->ApplySavedFiles();
    const std::string told = testing::internal::GetCapturedStderr();
    Frame();
    EXPECT_EQ(scene->seen.fade, 0.5f);
    EXPECT_NE(told.find("Data/sync/Curl.txt:3: a key needs a value\n"), std::string::npos) << told;
    const std::vector<ReloadProblem> problems = framework->Reloads()->Problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].file, "Data/sync/Curl.txt");
    EXPECT_EQ(problems[0].line, 3u);
    EXPECT_EQ(problems[1].Text(), "data build: ninja: build stopped");
    EXPECT_TRUE(overlayHas("Data/sync/Curl.txt:3: a key needs a value"));

    // Saves of its own wait to settle; the build's next clean run clears its refusals.
    WriteWholeFile("loose/Data/sync_Fade.track", Track(0.25f));
    EXPECT_EQ(framework->Live()->Poll(LiveData::Clock::now()), 0u);
    WriteWholeFile("loose/" + LiveData::BuildProblemsFile, {});
    framework->ApplySavedFiles();
    Frame();
    EXPECT_EQ(scene->seen.fade, 0.25f);
    EXPECT_TRUE(framework->Reloads()->Problems().empty());
    EXPECT_FALSE(overlayHas("Data/sync/Curl.txt:3: a key needs a value"));
}

TEST_F(LiveReloadTest, ATrackChangeTellsTheFirstTimeItAffects)
{
    framework->Reloads()->TakeSimulationChange();
    // Keys at rows 0, 64 and 128; the one at 128 changes, so values from the key before it (64) on may differ.
    WriteWholeFile("loose/Data/sync_Fade.track", EncodeTrackRecords({{0, 0, 1}, {64, 1, 1}, {128, 0, 0}}));
    SaveAndFrame({});
    framework->Reloads()->TakeSimulationChange();
    SaveAndFrame({{"Data/sync_Fade.track", EncodeTrackRecords({{0, 0, 1}, {64, 1, 1}, {128, 2, 0}})}});
    EXPECT_EQ(framework->Reloads()->TakeSimulationChange(), 64 / SyncRowRate);
    SaveAndFrame({{"Data/sync_Fade.track", EncodeTrackRecords({{0, 0, 1}, {64, 1, 1}, {128, 2, 0}})}});
    EXPECT_FALSE(framework->Reloads()->TakeSimulationChange()) << "the same keys change nothing";
}

TEST_F(LiveReloadTest, ReloadingEveryKindAgainAndAgainLeavesNoObjectBehind)
{
    const auto census = [this] {
        std::map<ObjectKind, size_t> count;
        for (const LiveObject& object : recorder->LiveObjects())
            ++count[object.kind];
        return count;
    };
    SaveAndFrame({{"OShaders/live.fxo", CompileEffect(LiveEffect(GlowTechnique))}});
    const auto before = census();
    const auto effect = CompileEffect(LiveEffect(GlowTechnique));
    for (int round = 0; round < 200; ++round)
        SaveAndFrame({{"OShaders/live.fxo", effect},
                      {"Data/dots.png", SolidPng(2, 2, 10, 20, 30)},
                      {"Data/sync_Fade.track", Track(round % 2 ? 0.5f : 0.25f)},
                      {"Data/anim/Cam.translateX", Curve(float(round))},
                      {"Data/thing.x", Bytes(round % 2 ? QuadMesh : GreyTriangleMesh)},
                      {"Data/live.xml", SceneXml(round % 2 ? "Cam" : "Other")},
                      {"Data/events/Scenes.txt", Bytes(round % 2 ? "0 Live\n" : "0 Live\n500 Second\n")}});
    EXPECT_EQ(census(), before);
    EXPECT_TRUE(framework->Reloads()->Problems().empty());
}
