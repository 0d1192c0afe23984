// The effect registry: names, the active effect, setting by semantic, drawing through every pass,
// shared values across the pool, and what a device reset leaves.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Platform/D3DX/D3DXMath.h"

namespace {

const std::string TwoPassEffect = R"(
shared float4x4 ViewProj : VIEWPROJ;
float4x4 World : LOCAL;
float4x4 WorldView : LOCALVIEW;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4x4 OldWorldViewProj : OLDLOCALVIEWPROJ;
float4 Tint : TINT = {1, 2, 3, 4};
float3 Kernel[16] : KERNEL;
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = Tint; } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
technique Glow {
    pass First { VertexShader = V; PixelShader = F; AlphaBlendEnable = TRUE; }
    pass Second { VertexShader = V; PixelShader = F; ZWriteEnable = FALSE; }
}
)";

D3DXMATRIX Translation(float x, float y, float z)
{
    D3DXMATRIX matrix;
    D3DXMatrixTranslation(&matrix, x, y, z);
    return matrix;
}

D3DXMATRIX Product(const D3DXMATRIX& a, const D3DXMATRIX& b)
{
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &a, &b);
    return product;
}

std::vector<float> FloatsOf(const D3DXMATRIX& matrix)
{
    return std::vector<float>(&matrix.m[0][0], &matrix.m[0][0] + 16);
}

} // namespace

class DXEffectHandlerTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"OShaders\\twopass.fxo", CompileEffect(TwoPassEffect)}});
        handler = DXEffectHandler::Instance();
    }

    DXEffectHandler* handler = nullptr;
};

TEST_F(DXEffectHandlerTest, DeviceSetupRegistersGlobalMakesItActiveAndBindsTheNoise)
{
    DXEffect* global = handler->GetEffect("Global");
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(framework->sharedEffect, global);
    EXPECT_EQ(DXEffectHandler::GetActiveEffect(), global);
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(global->effect->GetPool(&pool), D3D_OK);
    EXPECT_EQ(pool, framework->effectPool);
    pool->Release();
    IDirect3DBaseTexture9* noise = nullptr;
    ASSERT_EQ(global->effect->GetTexture("NoiseTex", &noise), D3D_OK);
    EXPECT_EQ(noise, static_cast<IDirect3DBaseTexture9*>(framework->noiseVolume));
    noise->Release();
}

TEST_F(DXEffectHandlerTest, UnknownNamesAndMissingActiveEffectFailWithTheirTexts)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    EXPECT_EQ(FrameworkFailure([] { DXEffectHandler::SetActiveEffect("glow"); }),
              "[DXEffectHandler::SetActiveEffect] Effect \"glow\" not registered. Available effects are:\nGlobal\npostfx\n");
    EXPECT_EQ(DXEffectHandler::GetActiveEffect(), nullptr);
    const float values[48] = {};
    EXPECT_EQ(FrameworkFailure([&] { DXEffectHandler::SetVec2BySemantic("TINT", values); }),
              "[DXEffectHandler::SetVec2BySemantic] No effect set");
    EXPECT_EQ(FrameworkFailure([&] { DXEffectHandler::SetFloatArrayBySemantic("KERNEL", values); }),
              "[DXEffectHandler::SetFloatArrayBySemantic] No effect set");
    EXPECT_EQ(FrameworkFailure([&] { DXEffectHandler::SetTextureBySemantic("NOISETEX", nullptr); }),
              "[DXEffectHandler::SetTextureBySemantic] No effect set");
    EXPECT_EQ(FrameworkFailure([] { DXEffectHandler::SetTechnique("Glow"); }),
              "[DXEffectHandler::SetTechnique] Could not set technique) \"Glow\": No effect set");
    EXPECT_EQ(FrameworkFailure([] { DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [] {}); }),
              "[DXEffectHandler::DrawObject] No effect set");
}

TEST_F(DXEffectHandlerTest, TheFirstRegistrationOfANameWins)
{
    handler->AddEffect("Default", "twopass.fx", framework->effectPool);
    DXEffect* first = handler->GetEffect("Default");
    EXPECT_NO_THROW(handler->AddEffect("Default", "absent.fx", framework->effectPool)) << "nothing is loaded";
    EXPECT_EQ(handler->GetEffect("Default"), first);
}

TEST_F(DXEffectHandlerTest, SettersWriteAsManyFloatsAsTheyTransferAndIgnoreUndeclaredSemantics)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffect& effect = *DXEffectHandler::SetActiveEffect("postfx");
    const float three[3] = {7, 8, 9};
    DXEffectHandler::SetVec3BySemantic("TINT", three);
    EXPECT_EQ(Floats(effect, "Tint", 4), (std::vector<float>{7, 8, 9, 4})) << "w keeps its value";
    float kernel[48];
    for (int i = 0; i < 48; ++i)
        kernel[i] = float(i);
    DXEffectHandler::SetFloatArrayBySemantic("KERNEL", kernel);
    EXPECT_EQ(Floats(effect, "Kernel", 48), std::vector<float>(kernel, kernel + 48));
    DXEffectHandler::SetFloatArrayBySemantic("TINT", kernel);
    EXPECT_EQ(Floats(effect, "Tint", 4), (std::vector<float>{0, 1, 2, 3})) << "48 floats into a float4 write 4";
    EXPECT_NO_THROW(DXEffectHandler::SetFloatBySemantic("NOSUCH", 1.0f));
    EXPECT_NO_THROW(DXEffectHandler::SetFloatBySemantic("NOSUCH", 2.0f));
    ASSERT_EQ(effect.semanticHandles.count("NOSUCH"), 1u);
    EXPECT_EQ(effect.semanticHandles.at("NOSUCH"), nullptr) << "a missing semantic is remembered as missing";
}

TEST_F(DXEffectHandlerTest, ASemanticIsAskedOfTheEffectOnlyOnce)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffect& effect = *DXEffectHandler::SetActiveEffect("postfx");
    const float four[4] = {1, 1, 1, 1};
    DXEffectHandler::SetVec4BySemantic("TINT", four);
    ASSERT_STREQ(effect.semanticHandles.at("TINT"), "Tint");
    // Were TINT looked up again, the effect would answer with Tint; the cache answers with Kernel.
    effect.semanticHandles["TINT"] = effect.effect->GetParameterBySemantic(nullptr, "KERNEL");
    const float five[4] = {5, 5, 5, 5};
    DXEffectHandler::SetVec4BySemantic("TINT", five);
    EXPECT_EQ(Floats(effect, "Tint", 4), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(Floats(effect, "Kernel", 4), (std::vector<float>{5, 5, 5, 5}));
}

TEST_F(DXEffectHandlerTest, DrawObjectRunsEveryPassOfTheTechniqueWithTheObjectMatrices)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("postfx");
    DXEffectHandler::SetTechnique("Glow");
    CameraMatrices camera;
    camera.view = Translation(0, 0, -5);
    camera.viewProjection = Translation(1, 2, 3);
    camera.previousViewProjection = Translation(4, 5, 6);
    DXEffectHandler::SetCamera(camera);
    const D3DXMATRIX world = Translation(10, 0, 0);
    const D3DXMATRIX previousWorld = Translation(20, 0, 0);
    std::vector<size_t> drawn;
    DXEffectHandler::DrawObject(world, previousWorld, [&] { drawn.push_back(DrawTriangle()); });

    ASSERT_EQ(drawn.size(), 2u);
    const EffectPassSnapshot& first = draws.Draw(drawn[0]);
    const EffectPassSnapshot& second = draws.Draw(drawn[1]);
    EXPECT_EQ(first.technique, "Glow");
    EXPECT_EQ(first.pass, "First");
    EXPECT_EQ(second.pass, "Second");
    EXPECT_EQ(first.Floats("LOCAL"), FloatsOf(world));
    EXPECT_EQ(first.Floats("LOCALVIEW"), FloatsOf(Product(world, camera.view)));
    EXPECT_EQ(second.Floats("LOCALVIEWPROJ"), FloatsOf(Product(world, camera.viewProjection)));
    EXPECT_EQ(second.Floats("OLDLOCALVIEWPROJ"), FloatsOf(Product(previousWorld, camera.previousViewProjection)));
    EXPECT_EQ(draws.PassesEnded(), 2u);
    EXPECT_EQ(draws.TechniquesEnded(), 1u);
}

TEST_F(DXEffectHandlerTest, ADrawThatFailsLeavesTheEffectReadyForTheNext)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("postfx");
    EXPECT_THROW(DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [] { throw FrameworkEx("draw failed"); }),
                 FrameworkEx);
    int passes = 0;
    DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [&] { ++passes; });
    EXPECT_EQ(passes, 1);
}

// A technique that cannot begin (here the effect is already drawing) is a failed device call,
// raised with DrawObject's call site rather than skipped; the effect is ready for the next draw.
TEST_F(DXEffectHandlerTest, ADrawThatCannotBeginRaisesWithTheCallSite)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("postfx");
    int passes = 0;
    const std::string message = FrameworkFailure([&] {
        DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [&] {
            DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [&] { ++passes; });
        });
    });
    EXPECT_EQ(message.rfind("Error: D3DERR_INVALIDCALL\n\n.\\Source\\Framework\\DXEffect\\DXEffectHandler.cpp : ", 0),
              0u)
        << message;
    EXPECT_EQ(passes, 0);
    DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [&] { ++passes; });
    EXPECT_EQ(passes, 1);
}

TEST_F(DXEffectHandlerTest, SharedValuesWrittenOnGlobalReachEveryEffectOfThePool)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("Global");
    const D3DXMATRIX viewProjection = Translation(3, 2, 1);
    DXEffectHandler::SetMatrixBySemantic("VIEWPROJ", &viewProjection);
    DXEffect& postfx = *DXEffectHandler::SetActiveEffect("postfx");
    EXPECT_EQ(Matrix(postfx, "ViewProj"), viewProjection);
    size_t drawn = 0;
    DXEffectHandler::DrawObject(D3DXMATRIX(), D3DXMATRIX(), [&] { drawn = DrawTriangle(); });
    EXPECT_EQ(draws.Draw(drawn).Floats("VIEWPROJ"), FloatsOf(viewProjection));
}

TEST_F(DXEffectHandlerTest, AfterADeviceResetEveryEffectIsLiveAndInTheNewPool)
{
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);
    DXEffect* postfx = DXEffectHandler::SetActiveEffect("postfx");
    DXEffectHandler::SetTechnique("Glow");
    // A render target set on an effect must not keep the device from resetting.
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(DXFramework::device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                                 &target, nullptr),
              D3D_OK);
    handler->AddEffect("targets", "global.fx", framework->effectPool);
    DXEffect* targets = DXEffectHandler::SetActiveEffect("targets");
    DXEffectHandler::SetTextureBySemantic("NOISEVECTEX", target);
    target->Release();

    framework->ResetDevice();
    // The scenes' loads register their effects again with the new pool.
    handler->AddEffect("postfx", "twopass.fx", framework->effectPool);

    EXPECT_EQ(recorder->Count(Op::Reset), 1u);
    DXEffect* global = handler->GetEffect("Global");
    ASSERT_NE(global, nullptr);
    EXPECT_TRUE(global->loaded);
    EXPECT_EQ(framework->sharedEffect, global);
    EXPECT_EQ(DXEffectHandler::GetActiveEffect(), global);
    EXPECT_EQ(handler->GetEffect("postfx"), postfx) << "the same DXEffect, reloaded";
    EXPECT_EQ(postfx->techniqueName, "Glow");
    EXPECT_STREQ(postfx->effect->GetCurrentTechnique(), "Glow");
    const D3DXMATRIX viewProjection = Translation(9, 9, 9);
    DXEffectHandler::SetMatrixBySemantic("VIEWPROJ", &viewProjection);
    EXPECT_EQ(Matrix(*postfx, "ViewProj"), viewProjection) << "postfx shares the new Global's pool";
    EXPECT_EQ(handler->GetEffect("targets"), targets) << "an effect not registered again stays as it was";
}
