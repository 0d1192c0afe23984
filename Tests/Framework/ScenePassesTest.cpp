// What every scene shares each frame and while current: the frame's constants on the Global effect
// (in the order that keeps the old camera's blur and focus for one frame after a switch), the
// lights after the cameras, and the named render targets held from the pools.
#include "SceneFixture.h"
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Scene/PointLight.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"

#include <cmath>

namespace {

const std::string SharedGlobal = R"(
shared float4x4 OldViewProj : OLDVIEWPROJ;
shared float Time : TIME;
shared float4x4 View : VIEW;
shared float4x4 ViewProj : VIEWPROJ;
shared float3 EyePos : EYEPOS;
shared float2 FocusMaxZ : FOCUS_MAXZ;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4x4 WorldView : LOCALVIEW;
float4x4 OldWorldViewProj : OLDLOCALVIEWPROJ;
glsl vertex V(vec3 Position : POSITION0) {
    void main() { gl_Position = vec4(Position + EyePos, Time) * ViewProj * WorldViewProj * WorldView * OldWorldViewProj; }
}
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(FocusMaxZ, 0.0, 1.0) * OldViewProj * View; } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
)";

// Camera A focuses 10 to 30 and moves along x with the show; B focuses 2 to 4 and stays at y = 5.
// The file's last camera, B, is active until ActiveCam first picks: A up to row 100, then B.
const std::string TwoCameras = R"(<scene>
  <cameras>
    <camera name="A" nearfocus="10" farfocus="30"/>
    <camera name="B" nearfocus="2" farfocus="4"/>
  </cameras>
  <lights>
    <point name="Lamp" translation="0 1 0"/>
  </lights>
</scene>
)";

std::vector<float> FloatsOf(const D3DXMATRIX& matrix)
{
    return std::vector<float>(&matrix.m[0][0], &matrix.m[0][0] + 16);
}

// A scene as the show's scenes are: nothing of its own beyond the base.
class PlainScene : public Scene {
public:
    using Scene::Scene;
};

} // namespace

class ScenePassesTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"OShaders\\global.fxo", CompileEffect(SharedGlobal)},
               {"Data\\two.xml", Bytes(TwoCameras)},
               {"Data\\sync_CamZOffset.track", ConstantTrack(0.0f)},
               {"Data\\sync_ShakeAmplitude.track", ConstantTrack(0.0f)},
               {"Data\\sync_ShakeSpeed.track", ConstantTrack(0.0f)},
               {"Data\\sync_ActiveCam.track", StepTrack({{0, 0.0f}, {100, 1.0f}})},
               {"Data\\anim\\A.translateX", LinearCurve(0.0f, 1.0f)},
               {"Data\\anim\\B.translateY", ConstantCurve(5.0f)},
               {"Data\\anim\\LampX", ConstantCurve(0.0f)},
               {"Data\\anim\\LampY", LinearCurve(1.0f, 2.0f)},
               {"Data\\anim\\LampZ", ConstantCurve(0.0f)}});
        global = framework->sharedEffect;
    }

    // One frame's constants at t seconds.
    void FrameAt(Scene& scene, double t)
    {
        Timer::SetFrameClock(t, Timer::GetDelta());
        scene.SetFrameConstants();
    }

    Camera& CameraNamed(Scene& scene, const std::string& name)
    {
        return *scene.cameraSet.Cameras().at(name);
    }

    DXEffect* global = nullptr;
};

TEST_F(ScenePassesTest, AfterACameraSwitchBlurAndFocusStayWithTheOldCameraForOneFrame)
{
    PlainScene scene("Part1");
    scene.LoadSceneData("two.xml");
    Camera& a = CameraNamed(scene, "A");
    Camera& b = CameraNamed(scene, "B");
    ASSERT_EQ(scene.cameraSet.GetActiveCamera(), &b);

    // Frame 1: ActiveCam picks A; B was active before the update.
    const D3DXMATRIX bBefore = b.previousViewProjection;
    FrameAt(scene, 1.0);
    ASSERT_EQ(scene.cameraSet.GetActiveCamera(), &a);
    EXPECT_EQ(Floats(*global, "OldViewProj", 16), FloatsOf(bBefore));
    EXPECT_EQ(Floats(*global, "FocusMaxZ", 2), (std::vector<float>{3.0f, 4.0f}));
    EXPECT_EQ(Floats(*global, "View", 16), FloatsOf(a.view));
    EXPECT_EQ(Floats(*global, "ViewProj", 16), FloatsOf(a.viewProjection));
    EXPECT_EQ(Floats(*global, "EyePos", 3), (std::vector<float>{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(Floats(*global, "Time", 1), (std::vector<float>{1.0f}));

    // Frame 2: A stays; its own focus 10 to 30 now.
    const D3DXMATRIX aBefore = a.previousViewProjection;
    FrameAt(scene, 2.0);
    EXPECT_EQ(Floats(*global, "FocusMaxZ", 2), (std::vector<float>{20.0f, 40.0f}));
    EXPECT_EQ(Floats(*global, "OldViewProj", 16), FloatsOf(aBefore));
    EXPECT_EQ(Floats(*global, "EyePos", 3), (std::vector<float>{2.0f, 0.0f, 0.0f}));

    // Frame 3, past row 100: B again, with A's focus for this frame.
    FrameAt(scene, 101.0 / SyncRowRate);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera(), &b);
    EXPECT_EQ(Floats(*global, "FocusMaxZ", 2), (std::vector<float>{20.0f, 40.0f}));
    EXPECT_EQ(Floats(*global, "EyePos", 3), (std::vector<float>{0.0f, 5.0f, 0.0f}));
}

TEST_F(ScenePassesTest, ObjectsDrawnInTheCutFrameSeeOnlyTheNewCamerasMatrices)
{
    PlainScene scene("Part1");
    scene.LoadSceneData("two.xml");
    Camera& a = CameraNamed(scene, "A");
    FrameAt(scene, 1.0);
    ASSERT_EQ(scene.cameraSet.GetActiveCamera(), &a) << "the frame cuts from B to A";
    ASSERT_NE(Floats(*global, "OldViewProj", 16), FloatsOf(a.previousViewProjection));
    DXEffectHandler::SetActiveEffect("Global");
    D3DXMATRIX world, previous;
    D3DXMatrixTranslation(&world, 1.0f, 2.0f, 3.0f);
    D3DXMatrixTranslation(&previous, 1.0f, 2.0f, 2.5f);
    size_t drawn = 0;
    DXEffectHandler::DrawObject(world, previous, [&] { drawn = DrawTriangle(); });
    const EffectPassSnapshot& seen = draws.Draw(drawn);
    D3DXMATRIX expected;
    EXPECT_EQ(seen.Floats("LOCALVIEWPROJ"), FloatsOf(*D3DXMatrixMultiply(&expected, &world, &a.viewProjection)));
    EXPECT_EQ(seen.Floats("LOCALVIEW"), FloatsOf(*D3DXMatrixMultiply(&expected, &world, &a.view)));
    EXPECT_EQ(seen.Floats("OLDLOCALVIEWPROJ"), FloatsOf(*D3DXMatrixMultiply(&expected, &previous, &a.previousViewProjection)))
        << "an object's motion on a cut is its own under the new camera, not the old camera's view";
}

TEST_F(ScenePassesTest, LightsFollowTheSameTimeAsTheCameras)
{
    PlainScene scene("Part1");
    scene.LoadSceneData("two.xml");
    FrameAt(scene, 1.5);
    const Light& lamp = *scene.lights.at("Lamp");
    EXPECT_FLOAT_EQ(lamp.position.y, 1.0f + 2.0f * 1.5f);
}

TEST_F(ScenePassesTest, ASceneWithoutACameraCannotWriteItsFrame)
{
    PlainScene empty("Empty");
    EXPECT_EQ(FrameworkFailure([&] { empty.SetFrameConstants(); }),
              "[Scene::SetFrameConstants] Scene \"Empty\" has no camera");
}

TEST_F(ScenePassesTest, TargetsAreHeldByNameAndReusedAcrossScenes)
{
    PlainScene p("P");
    PlainScene q("Q");
    p.AddRenderTarget("Color", D3DFMT_A8R8G8B8, 1280, 720);
    const uint32_t held = p.renderTargets.at("Color");
    EXPECT_EQ(p.GetRenderTarget("Color").width, 1280u);
    p.ReleaseTargets();
    p.ReleaseTargets();
    EXPECT_EQ(RTHandler::GetTarget(held).useCount, 0u) << "released twice, counted once";

    const size_t textures = recorder->Count(Op::CreateTexture);
    q.AddRenderTarget("Color", D3DFMT_A8R8G8B8, 1280, 720);
    EXPECT_EQ(q.renderTargets.at("Color"), held);
    EXPECT_EQ(recorder->Count(Op::CreateTexture), textures) << "a switch reuses the pool's free texture";

    q.AddCubeTarget("Reflection");
    q.AddCubeTarget("Refraction");
    EXPECT_NE(q.cubeTargets.at("Reflection"), q.cubeTargets.at("Refraction"));
    for (const char* name : {"Reflection", "Refraction"}) {
        EXPECT_EQ(q.GetCubeTarget(name).edgeLength, 512u);
        EXPECT_EQ(q.GetCubeTarget(name).format, D3DFMT_X8R8G8B8);
    }
    EXPECT_EQ(FrameworkFailure([&] { q.GetRenderTarget("Depth"); }),
              "[Scene::GetRenderTarget] Scene \"Q\" has no render target \"Depth\"");
    q.ReleaseTargets();
}
