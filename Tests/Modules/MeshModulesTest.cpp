// The modules made of meshes: the five cubes with the plane that follows the fourth, and the box
// around the particle swarm, on the Recorder.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Scene/CurveFile.h"
#include "Framework/Timer/Timer.h"
#include "Modules/BoxEnvironment/BoxEnvironment.h"
#include "Modules/InsideCube/InsideCube.h"

#include <cmath>

namespace {

const std::string MaterialEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4 Diffuse : DIFFUSE;
float4 Ambient : AMBIENT;
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = Diffuse + Ambient; } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
)";

// A curve holding value v at time 0, w at 10 and x at 20 (flat at each key).
std::vector<unsigned char> Curve(float v, float w, float x)
{
    return EncodeCurveKeys({{0, v, 0, 0}, {10, w, 0, 0}, {20, x, 0, 0}});
}

std::vector<unsigned char> Constant(float value)
{
    return EncodeCurveKeys({{0, value, 0, 0}});
}

} // namespace

class MeshModulesTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"Data\\TindreVikCubeShape.x", Bytes(GreyTriangleMesh)},
               {"Data\\TindreVikPlaneShape.x", Bytes(GreyTriangleMesh)},
               {"Data\\boxShape.x", Bytes(GreyTriangleMesh)},
               {"Data\\anim\\dynamicCube4.translateX", Constant(3.0f)},
               {"Data\\anim\\dynamicCube4.translateY", Curve(0.5f, 2.0f, 0.0f)},
               {"Data\\anim\\dynamicCube4.translateZ", Constant(-2.0f)},
               {"Data\\anim\\dynamicCube4.rotateY", Constant(1.5707964f)},
               {"Data\\anim\\dynamicCube2.translateX", Constant(7.0f)},
               {"OShaders\\material.fxo", CompileEffect(MaterialEffect)}});
        DXEffectHandler::Instance()->AddEffect("material", "material.fx", framework->effectPool);
        DXEffectHandler::SetActiveEffect("material");
    }

    void UpdateAt(DXModule& module, double seconds)
    {
        Timer::SetFrameClock(seconds, Timer::GetDelta());
        module.Update();
    }

    // The draws an action makes, inside a scene.
    template <class Action>
    size_t DrawsOf(Action action)
    {
        const size_t before = recorder->Count(Op::DrawIndexedPrimitive);
        DXFramework::device->BeginScene();
        action();
        DXFramework::device->EndScene();
        return recorder->Count(Op::DrawIndexedPrimitive) - before;
    }
};

TEST_F(MeshModulesTest, ThePlaneFollowsTheFourthCubeShrinkingAndBrighteningAsItRises)
{
    InsideCube cubes("TindreVik");
    cubes.Load();
    struct Case {
        double time;
        float height; // ty - 0.5
        float scale;
    };
    for (const Case& c : {Case{0.0, 0.0f, 1.0f}, Case{10.0, 1.5f, 0.4f}, Case{20.0, -0.5f, 1.3f}}) {
        UpdateAt(cubes, c.time);
        const DXMesh& plane = *cubes.plane;
        EXPECT_EQ(plane.materials[0].ambient.x, c.height) << "at " << c.time;
        EXPECT_EQ(plane.materials[0].ambient.w, c.height);
        EXPECT_EQ(plane.materials[0].diffuse.y, 1.0f);
        // (1, 0, 0) scaled, turned a quarter about y (to -z) and moved to the cube's x and z.
        D3DXVECTOR4 moved;
        const D3DXVECTOR3 unitX{1, 0, 0};
        D3DXVec3Transform(&moved, &unitX, &plane.worldMatrix);
        EXPECT_NEAR(moved.x, 3.0f, 1e-5) << "at " << c.time;
        EXPECT_NEAR(moved.y, 0.0f, 1e-5);
        EXPECT_NEAR(moved.z, -2.0f - c.scale, 1e-5);
        EXPECT_EQ(plane.previousWorldMatrix, plane.worldMatrix);
    }
    // Every cube follows its own animation.
    EXPECT_EQ(cubes.cubes[1]->worldMatrix(3, 0), 7.0f);
    EXPECT_EQ(cubes.cubes[3]->worldMatrix(3, 2), -2.0f);
}

TEST_F(MeshModulesTest, TheCubesAndThePlaneDrawSeparatelyAndDrawItselfIsRefused)
{
    InsideCube cubes("TindreVik");
    EXPECT_EQ(FrameworkFailure([&] { cubes.Update(); }), "[InsideCube::Update] The module is not loaded");
    cubes.Load();
    UpdateAt(cubes, 10.0);
    EXPECT_EQ(DrawsOf([&] { cubes.DrawCubes(); }), 5u);
    const size_t planeDraw = recorder->Count(Op::DrawIndexedPrimitive);
    EXPECT_EQ(DrawsOf([&] { cubes.DrawPlane(); }), 1u);
    EXPECT_EQ(draws.Draw(planeDraw).Floats("AMBIENT"), (std::vector<float>{1.5f, 1.5f, 1.5f, 1.5f}));
    EXPECT_THROW(cubes.Draw(), FrameworkEx);
    cubes.Release();
    EXPECT_EQ(cubes.plane, nullptr);
}

TEST_F(MeshModulesTest, TheBoxDrawsOnlyWhileLoaded)
{
    BoxEnvironment box("BoxEnv");
    EXPECT_EQ(DrawsOf([&] { box.Draw(); }), 0u);
    box.Load();
    ASSERT_EQ(box.objects.size(), 1u);
    UpdateAt(box, 3.0);
    EXPECT_EQ(box.objects[0]->worldMatrix, IdentityMatrix());
    EXPECT_EQ(DrawsOf([&] { box.Draw(); }), 1u);
    box.Release();
    EXPECT_EQ(DrawsOf([&] { box.Draw(); }), 0u);
    box.Load();
    EXPECT_EQ(box.objects.size(), 1u) << "a reload after a release holds the one mesh again";
}
