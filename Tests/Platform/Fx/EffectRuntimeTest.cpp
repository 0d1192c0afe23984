// The effect runtime on the Recorder: handles, setters, the pool's shared values, creation
// messages, the pass protocol and what the draw log reports.
#include "Gfx/RecorderFixture.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/D3DXCreateEffect.h"
#include "Platform/Fx/EffectParser.h"
#include "Platform/Gfx/Recorder/EffectDrawLog.h"

#include <cstring>
#include <map>
#include <string>

namespace {

const std::string Body = R"(
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
technique Main {
    pass A { VertexShader = V; PixelShader = F; ZEnable = FALSE; }
    pass B { VertexShader = V; PixelShader = F; }
}
technique Other { pass P { VertexShader = V; PixelShader = F; } }
)";

const std::string Parameters = R"(
shared float4x4 ViewProj : VIEWPROJ;
float Time : TIME = 0.5;
float4 Colour : COLOUR = {1, 2, 3, 4};
texture2D Picture : PICTURE < string ResourceName = "p.png"; string Filter = "NONE"; >;
)";

// Serves includes from a map and counts what it hands out and gets back.
class MapInclude final : public ID3DXInclude {
public:
    explicit MapInclude(std::map<std::string, std::string> files) : files(std::move(files)) {}
    HRESULT Open(D3DXINCLUDE_TYPE, const char* name, const void*, const void** data, UINT* bytes) override
    {
        const auto found = files.find(name);
        if (found == files.end())
            return E_FAIL;
        *data = found->second.data();
        *bytes = static_cast<UINT>(found->second.size());
        ++opened;
        return S_OK;
    }
    HRESULT Close(const void*) override
    {
        ++closed;
        return S_OK;
    }

    std::map<std::string, std::string> files;
    int opened = 0;
    int closed = 0;
};

} // namespace

class EffectRuntimeTest : public RecorderFixture {
protected:
    EffectRuntimeTest()
    {
        CreateDevice();
        Check(D3DXCreateEffectPool(&pool), "D3DXCreateEffectPool");
    }
    ~EffectRuntimeTest() override
    {
        for (ID3DXEffect* effect : effects)
            effect->Release();
        pool->Release();
    }

    // Creates an effect from source text; the test fails on messages.
    ID3DXEffect* Create(const std::string& source, ID3DXEffectPool* inPool)
    {
        ID3DXEffect* effect = nullptr;
        const HRESULT hr = Try(source, inPool, &effect);
        EXPECT_EQ(hr, D3D_OK) << messages;
        if (effect)
            effects.push_back(effect);
        return effect;
    }
    HRESULT Try(const std::string& source, ID3DXEffectPool* inPool, ID3DXEffect** effect = nullptr,
                ID3DXInclude* include = nullptr)
    {
        ID3DXEffect* made = nullptr;
        ID3DXBuffer* buffer = nullptr;
        const HRESULT hr = D3DXCreateEffect(device, source.data(), UINT(source.size()), nullptr, include, 0, inPool,
                                            &made, &buffer);
        messages = std::string(BufferText(buffer));
        if (buffer)
            buffer->Release();
        if (effect)
            *effect = made;
        else if (made)
            made->Release();
        return hr;
    }

    // One triangle inside a scene; returns the draw's number.
    size_t Draw()
    {
        if (!vertices) {
            vertices = MakeVertexBuffer(36, 0);
            indices = MakeIndexBuffer(12, D3DFMT_INDEX32, 0);
            void* data = nullptr;
            Check(indices->Lock(0, 0, &data, 0), "Lock");
            const uint32_t corners[] = {0, 1, 2};
            std::memcpy(data, corners, sizeof corners);
            indices->Unlock();
            const D3DVERTEXELEMENT9 elements[] = {
                {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
            Check(device->CreateVertexDeclaration(elements, &declaration), "CreateVertexDeclaration");
            device->SetVertexDeclaration(declaration);
            device->SetStreamSource(0, vertices, 0, 12);
            device->SetIndices(indices);
            declaration->Release();
            vertices->Release();
            indices->Release();
        }
        const size_t number = recorder->Count(Op::DrawIndexedPrimitive);
        Check(device->BeginScene(), "BeginScene");
        Check(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), "DrawIndexedPrimitive");
        Check(device->EndScene(), "EndScene");
        return number;
    }

    EffectDrawLog draws{recorder};
    ID3DXEffectPool* pool = nullptr;
    std::vector<ID3DXEffect*> effects;
    std::string messages;

private:
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

TEST_F(EffectRuntimeTest, HandlesAnnotationsAndNamesInPlaceOfHandles)
{
    ID3DXEffect* effect = Create(Parameters + Body, pool);
    const D3DXHANDLE picture = effect->GetParameterBySemantic(nullptr, "PICTURE");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(effect->GetParameterBySemantic(nullptr, "picture"), nullptr) << "semantics match exactly";
    EXPECT_EQ(effect->GetParameterBySemantic(picture, "PICTURE"), nullptr) << "parameters have no members";
    const char* text = nullptr;
    ASSERT_EQ(effect->GetString(effect->GetAnnotationByName(picture, "Filter"), &text), D3D_OK);
    EXPECT_STREQ(text, "NONE");
    EXPECT_EQ(effect->GetAnnotationByName(picture, "Type"), nullptr);
    EXPECT_EQ(effect->GetString(picture, &text), D3DERR_INVALIDCALL) << "a parameter is not a string";
    EXPECT_EQ(effect->SetFloat("Time", 2.0f), D3D_OK) << "a name stands for its handle";
    float time = 0;
    EXPECT_EQ(effect->GetFloat(effect->GetParameterByName(nullptr, "Time"), &time), D3D_OK);
    EXPECT_EQ(time, 2.0f);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "Main") << "the first technique is current";
    EXPECT_EQ(effect->SetTechnique("Missing"), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTechnique(effect->GetTechniqueByName("Other")), D3D_OK);
    EXPECT_STREQ(effect->GetCurrentTechnique(), "Other");
}

TEST_F(EffectRuntimeTest, SettersRefuseNullHandlesAndWrongKindsWithoutEffect)
{
    ID3DXEffect* effect = Create(Parameters + Body, pool);
    IDirect3DTexture9* texture = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    const D3DXMATRIX matrix{};
    const D3DXVECTOR4 vector{9, 9, 9, 9};
    const float floats[4] = {9, 9, 9, 9};
    for (const D3DXHANDLE null : {D3DXHANDLE(nullptr), effect->GetParameterBySemantic(nullptr, "ABSENT")}) {
        EXPECT_EQ(effect->SetFloat(null, 9), D3DERR_INVALIDCALL);
        EXPECT_EQ(effect->SetFloatArray(null, floats, 4), D3DERR_INVALIDCALL);
        EXPECT_EQ(effect->SetVector(null, &vector), D3DERR_INVALIDCALL);
        EXPECT_EQ(effect->SetMatrix(null, &matrix), D3DERR_INVALIDCALL);
        EXPECT_EQ(effect->SetTexture(null, texture), D3DERR_INVALIDCALL);
    }
    EXPECT_EQ(effect->SetMatrix("Colour", &matrix), D3DERR_INVALIDCALL) << "a float4 is no matrix";
    EXPECT_EQ(effect->SetFloat("Picture", 9), D3DERR_INVALIDCALL) << "a texture holds no floats";
    EXPECT_EQ(effect->SetTexture("Colour", texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloatArray("Colour", nullptr, 4), D3DERR_INVALIDCALL);
    D3DXVECTOR4 colour;
    ASSERT_EQ(effect->GetVector("Colour", &colour), D3D_OK);
    EXPECT_EQ((std::vector<float>{colour.x, colour.y, colour.z, colour.w}), (std::vector<float>{1, 2, 3, 4}));
    float time = 0;
    effect->GetFloat("Time", &time);
    EXPECT_EQ(time, 0.5f) << "the initial value";
    IDirect3DBaseTexture9* set = texture;
    ASSERT_EQ(effect->GetTexture("Picture", &set), D3D_OK);
    EXPECT_EQ(set, nullptr);
    texture->Release();
}

TEST_F(EffectRuntimeTest, SharedParametersHoldOneValueForEveryEffectOfThePool)
{
    ID3DXEffect* first = Create(Parameters + Body, pool);
    ID3DXEffect* second = Create("shared float4x4 ViewProj : VP;\nfloat Time;\n" + Body, pool);
    ID3DXEffect* alone = Create(Parameters + Body, nullptr);
    D3DXMATRIX viewProjection;
    for (int i = 0; i < 4; ++i)
        viewProjection.m[i][i] = float(i + 2);
    ASSERT_EQ(first->SetMatrix(first->GetParameterBySemantic(nullptr, "VIEWPROJ"), &viewProjection), D3D_OK);
    first->SetFloat("Time", 7.0f);
    D3DXMATRIX seen;
    ASSERT_EQ(second->GetMatrix("ViewProj", &seen), D3D_OK);
    EXPECT_EQ(seen, viewProjection);
    float time = 0;
    second->GetFloat("Time", &time);
    EXPECT_EQ(time, 0.0f) << "Time is not shared";
    ASSERT_EQ(alone->GetMatrix("ViewProj", &seen), D3D_OK);
    EXPECT_EQ(seen, D3DXMATRIX()) << "without a pool a shared parameter is the effect's own";

    EXPECT_EQ(Try("shared float4 ViewProj;\n" + Body, pool), E_FAIL);
    EXPECT_EQ(messages, "memory:1: shared parameter ViewProj is a float4 here but a float4x4 in the effect pool, "
                        "where another effect declared it\n");
}

TEST_F(EffectRuntimeTest, CreationFailuresReachTheMessagesBufferWithFileAndLine)
{
    MapInclude include(std::map<std::string, std::string>{{"outer.fxh", "float A;\n\n#include \"inner.fxh\"\n"}});
    EXPECT_EQ(Try("#include \"outer.fxh\"\n" + Body, pool, nullptr, &include), E_FAIL);
    EXPECT_EQ(messages, "outer.fxh:3: cannot open include file \"inner.fxh\"\n");
    EXPECT_EQ(include.opened, include.closed) << "every file opened is given back";

    EXPECT_EQ(Try("float A\n" + Body, pool), E_FAIL);
    EXPECT_EQ(messages.rfind("memory:3: expected ';'", 0), 0u) << messages;

    std::vector<unsigned char> compiled =
        fx::SaveCompiledEffect(fx::ParseEffect("x.fx", Parameters + Body, [](const std::string&) { return std::nullopt; }));
    compiled.pop_back();
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* buffer = nullptr;
    EXPECT_EQ(D3DXCreateEffect(device, compiled.data(), UINT(compiled.size()), nullptr, nullptr, 0, pool, &effect,
                               &buffer),
              D3DXERR_INVALIDDATA);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(std::string(BufferText(buffer)).rfind("compiled effect: ", 0), 0u);
    buffer->Release();

    const D3DXMACRO macros[] = {{"A", "1"}, {nullptr, nullptr}};
    EXPECT_EQ(D3DXCreateEffect(device, Body.data(), UINT(Body.size()), macros, nullptr, 0, pool, &effect, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(effect, nullptr);
}

TEST_F(EffectRuntimeTest, ThePassProtocolIsKept)
{
    ID3DXEffect* effect = Create(Parameters + Body, pool);
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL) << "before Begin";
    EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 2u);
    EXPECT_EQ(effect->Begin(&passes, 0), D3DERR_INVALIDCALL) << "techniques do not nest";
    EXPECT_EQ(effect->SetTechnique("Other"), D3DERR_INVALIDCALL) << "not between Begin and End";
    EXPECT_EQ(effect->BeginPass(2), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->CommitChanges(), D3DERR_INVALIDCALL) << "outside a pass";
    ASSERT_EQ(effect->BeginPass(1), D3D_OK);
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL) << "passes do not nest";
    EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL) << "a pass is open";
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(effect->SetTechnique("Other"), D3D_OK);
}

TEST_F(EffectRuntimeTest, EachDrawSeesTheValuesCommittedBeforeIt)
{
    ID3DXEffect* effect = Create(Parameters + Body, pool);
    IDirect3DTexture9* picture = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    effect->SetTexture("Picture", picture);
    const size_t outside = Draw();
    UINT passes = 0;
    effect->Begin(&passes, 0);
    effect->BeginPass(0);
    const size_t beginning = Draw();
    effect->SetFloat("Time", 3.0f);
    const size_t uncommitted = Draw();
    effect->CommitChanges();
    const size_t committed = Draw();
    effect->EndPass();
    effect->BeginPass(1);
    const size_t second = Draw();
    effect->EndPass();
    effect->End();
    const size_t after = Draw();

    EXPECT_FALSE(draws.DrawnThroughEffect(outside));
    EXPECT_FALSE(draws.DrawnThroughEffect(after));
    EXPECT_THROW(draws.Draw(after), std::out_of_range);
    EXPECT_EQ(draws.Draw(beginning).technique, "Main");
    EXPECT_EQ(draws.Draw(beginning).pass, "A");
    EXPECT_EQ(draws.Draw(beginning).states, (std::vector<fx::StateSetting>{{fx::RenderState::ZEnable, 0}}));
    EXPECT_EQ(draws.Draw(beginning).Texture("PICTURE"), picture);
    EXPECT_EQ(draws.Draw(uncommitted).Floats("TIME"), std::vector<float>{0.5f}) << "not committed yet";
    EXPECT_EQ(draws.Draw(committed).Floats("Time"), std::vector<float>{3.0f});
    EXPECT_EQ(draws.Draw(second).pass, "B");
    EXPECT_EQ(draws.Draw(second).passIndex, 1u);
    picture->Release();
}

TEST_F(EffectRuntimeTest, ATextureSetOnAnEffectLivesWithItButKeepsNoCallerReference)
{
    ID3DXEffect* effect = Create(Parameters + Body, pool);
    IDirect3DTexture9* target = MakeTexture(8, 8, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    ASSERT_EQ(effect->SetTexture("Picture", target), D3D_OK);
    EXPECT_EQ(target->CallerReferences(), 1u);
    target->Release();
    const auto textures = [&] {
        size_t count = 0;
        for (const LiveObject& object : recorder->LiveObjects())
            count += object.kind == ObjectKind::Texture;
        return count;
    };
    EXPECT_EQ(textures(), 1u) << "the effect keeps it";
    D3DPRESENT_PARAMETERS parameters = WindowedParameters(800, 600);
    EXPECT_EQ(device->Reset(&parameters), D3D_OK) << "and does not stand in the way of a Reset";
    effect->SetTexture("Picture", nullptr);
    EXPECT_EQ(textures(), 0u);
}

// A pass's states and textures go through the device's own operations, which the Recorder logs:
// set at BeginPass, textures again at CommitChanges, the states put back at End unless the
// technique began with D3DXFX_DONOTSAVESTATE.
TEST_F(EffectRuntimeTest, PassesSetStatesAndTexturesThroughTheDeviceAndEndPutsTheStatesBack)
{
    const std::string source = Parameters + R"(
sampler2D PictureSampler = sampler_state { Texture = Picture; };
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = texture(PictureSampler, vec2(0.5)); } }
technique Main {
    pass A { VertexShader = V; PixelShader = F; ZEnable = TRUE; CullMode = NONE; }
    pass B { VertexShader = V; PixelShader = F; ZEnable = FALSE; }
}
)";
    ID3DXEffect* effect = Create(source, pool);
    ASSERT_NE(effect, nullptr);
    IDirect3DTexture9* picture = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    ASSERT_EQ(effect->SetTexture("Picture", picture), D3D_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_CULLMODE, 2), D3D_OK); // CW, the caller's own
    const auto stateOf = [&](D3DRENDERSTATETYPE state) {
        DWORD value = 0;
        EXPECT_EQ(device->GetRenderState(state, &value), D3D_OK);
        return value;
    };
    const size_t statesBefore = recorder->Count(Op::SetRenderState);

    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(stateOf(D3DRS_ZENABLE), 1u);
    EXPECT_EQ(stateOf(D3DRS_CULLMODE), 1u);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, picture);
    bound->Release();
    EXPECT_EQ(recorder->Call<Op::SetTexture>(recorder->Count(Op::SetTexture) - 1).pTexture, picture);
    ASSERT_EQ(effect->SetTexture("Picture", nullptr), D3D_OK);
    ASSERT_EQ(effect->CommitChanges(), D3D_OK);
    EXPECT_EQ(device->State().textures[0], nullptr) << "a commit binds the textures again";
    ASSERT_EQ(effect->EndPass(), D3D_OK);
    ASSERT_EQ(effect->BeginPass(1), D3D_OK);
    EXPECT_EQ(stateOf(D3DRS_ZENABLE), 0u);
    ASSERT_EQ(effect->EndPass(), D3D_OK);
    ASSERT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(stateOf(D3DRS_ZENABLE), 0u) << "the initial value";
    EXPECT_EQ(stateOf(D3DRS_CULLMODE), 2u) << "the caller's value";
    EXPECT_EQ(recorder->Count(Op::SetRenderState) - statesBefore, 2u + 1u + 2u) << "A's two, B's one, two put back";

    ASSERT_EQ(effect->Begin(&passes, D3DXFX_DONOTSAVESTATE), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    ASSERT_EQ(effect->EndPass(), D3D_OK);
    ASSERT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(stateOf(D3DRS_CULLMODE), 1u) << "left as the pass set it";
    picture->Release();
}

// The device checks what reaches it: only the effect language's states and their values, stages
// below sixteen; a texture's release unbinds it, and a Reset brings back the initial states and
// unbinds every texture.
TEST_F(EffectRuntimeTest, TheDeviceChecksStatesAndTexturesAndResetStartsAfresh)
{
    IDirect3DTexture9* picture = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    const size_t states = recorder->Count(Op::SetRenderState);
    const size_t textures = recorder->Count(Op::SetTexture);
    const auto refusedBy = [&](HRESULT result, FrontCheck check) {
        EXPECT_EQ(result, D3DERR_INVALIDCALL);
        ASSERT_TRUE(device->LastRefusal());
        EXPECT_EQ(device->LastRefusal()->check, check) << FrontCheckName(device->LastRefusal()->check);
    };
    refusedBy(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(8), 1), FrontCheck::UnknownRenderState);
    refusedBy(device->SetRenderState(D3DRS_CULLMODE, 4), FrontCheck::RenderStateValue);
    refusedBy(device->SetRenderState(D3DRS_COLORWRITEENABLE, 16), FrontCheck::RenderStateValue);
    refusedBy(device->SetTexture(kMaxTextureStages, picture), FrontCheck::StageOutOfRange);
    DWORD value = 0;
    refusedBy(device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(8), &value), FrontCheck::UnknownRenderState);
    refusedBy(device->GetRenderState(D3DRS_ZENABLE, nullptr), FrontCheck::NullPointer);
    EXPECT_EQ(recorder->Count(Op::SetRenderState), states) << "refused before the backend";
    EXPECT_EQ(recorder->Count(Op::SetTexture), textures);

    ASSERT_EQ(device->SetTexture(3, picture), D3D_OK);
    picture->Release();
    EXPECT_EQ(device->State().textures[3], nullptr) << "a stage keeps no texture alive: its release unbinds it";
    for (const LiveObject& object : recorder->LiveObjects())
        EXPECT_NE(object.kind, ObjectKind::Texture);

    IDirect3DTexture9* other = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    ASSERT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), D3D_OK);
    ASSERT_EQ(device->SetTexture(5, other), D3D_OK);
    D3DPRESENT_PARAMETERS parameters = WindowedParameters(800, 600);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value), D3D_OK);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(device->State().textures[5], nullptr);
    other->Release();
}

// A device whose backend makes no driver for an effect refuses the effect, saying so.
TEST_F(EffectRuntimeTest, AnEffectTheBackendMakesNoDriverForIsNotCreated)
{
    recorder->FailCall(Op::CreateEffectDriver, recorder->Count(Op::CreateEffectDriver), E_FAIL);
    EXPECT_EQ(Try(Parameters + Body, pool), E_FAIL);
    EXPECT_NE(messages.find("made no driver for the effect (0x80004005)"), std::string::npos) << messages;
    EXPECT_EQ(Try(Parameters + Body, pool), D3D_OK) << "the next one is made";
}
