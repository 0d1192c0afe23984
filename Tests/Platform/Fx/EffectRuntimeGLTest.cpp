// The effect runtime on the GL backend: a pass's program, its uniforms (matrices as the engine
// writes them), its sampler's texture and states, committed changes, and GLSL faults reported
// with the effect's file and line.
#include "Platform/Gfx/GLDeviceFixture.h"

#include "Platform/Fx/D3DXCreateEffect.h"
#include "Platform/Fx/RenderStates.h"
#include "Platform/Gfx/GL/GLDeviceData.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

constexpr D3DCOLOR kBackground = D3DCOLOR_XRGB(0, 0, 255);

const std::string Source = R"(
shared float4 Tint : TINT = {1, 1, 1, 1};
float4x4 Place : PLACE;
texture2D Picture : PICTURE;
sampler2D PictureSampler = sampler_state { Texture = Picture; Filter = POINT; Address = CLAMP; };
glsl vertex Quad(vec3 Position : POSITION0, vec2 Uv : TEXCOORD0) {
    out vec2 uv;
    void main() { gl_Position = vec4(Position, 1.0) * Place; uv = Uv; }
}
glsl fragment Shade(vec4 Color : COLOR0) {
    in vec2 uv;
    void main() { Color = texture(PictureSampler, uv) * Tint; }
}
technique Main { pass P0 { VertexShader = Quad; PixelShader = Shade; AlphaBlendEnable = TRUE;
                           SrcBlend = ONE; DestBlend = ZERO; CullMode = NONE; } }
)";

struct Vertex {
    float x, y, z, u, v;
};

// Includes served from memory.
class IncludeFiles final : public ID3DXInclude {
public:
    explicit IncludeFiles(const std::map<std::string, std::string>& files) : files(files) {}
    HRESULT Open(D3DXINCLUDE_TYPE, const char* name, const void*, const void** data, UINT* bytes) override
    {
        const auto found = files.find(name);
        if (found == files.end())
            return E_FAIL;
        *data = found->second.data();
        *bytes = UINT(found->second.size());
        return S_OK;
    }
    HRESULT Close(const void*) override { return S_OK; }

private:
    const std::map<std::string, std::string>& files;
};

} // namespace

class EffectRuntimeGLTest : public GLDeviceFixture {
protected:
    void TearDown() override
    {
        if (device) {
            device->SetIndices(nullptr);
            device->SetStreamSource(0, nullptr, 0, 0);
            device->SetVertexDeclaration(nullptr);
        }
        for (Unknown* object : std::initializer_list<Unknown*>{effect, pool, vertices, indices, declaration})
            if (object)
                object->Release();
        GLDeviceFixture::TearDown();
    }

    HRESULT Create(const std::string& source)
    {
        if (!pool)
            D3DXCreateEffectPool(&pool);
        ID3DXBuffer* buffer = nullptr;
        const HRESULT hr = D3DXCreateEffect(device, source.data(), UINT(source.size()), nullptr, nullptr, 0, pool,
                                            &effect, &buffer);
        messages = std::string(BufferText(buffer));
        if (buffer)
            buffer->Release();
        return hr;
    }

    // The whole clip square, uv (0, 0) at its top left.
    void MakeQuad()
    {
        const Vertex corners[] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0}, {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}};
        const uint32_t order[] = {0, 1, 2, 2, 1, 3};
        ASSERT_EQ(device->CreateVertexBuffer(sizeof corners, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vertices, nullptr),
                  D3D_OK);
        ASSERT_EQ(device->CreateIndexBuffer(sizeof order, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT, &indices,
                                            nullptr),
                  D3D_OK);
        void* bytes = nullptr;
        vertices->Lock(0, 0, &bytes, 0);
        std::memcpy(bytes, corners, sizeof corners);
        vertices->Unlock();
        indices->Lock(0, 0, &bytes, 0);
        std::memcpy(bytes, order, sizeof order);
        indices->Unlock();
        const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                              {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                              D3DDECL_END()};
        ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
        device->SetVertexDeclaration(declaration);
        device->SetStreamSource(0, vertices, 0, sizeof(Vertex));
        device->SetIndices(indices);
    }

    // A 2 x 1 managed texture: red on the left, green on the right.
    IDirect3DTexture9* MakePicture()
    {
        IDirect3DTexture9* picture = nullptr;
        EXPECT_EQ(device->CreateTexture(2, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &picture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked;
        picture->LockRect(0, &locked, nullptr, 0);
        const uint8_t texels[] = {0, 0, 255, 255, 0, 255, 0, 255}; // B, G, R, A
        std::memcpy(locked.pBits, texels, sizeof texels);
        picture->UnlockRect(0);
        textures.push_back(picture);
        return picture;
    }

    HRESULT Draw()
    {
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        const HRESULT hr = device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
        EXPECT_EQ(device->EndScene(), D3D_OK);
        return hr;
    }

    ID3DXEffectPool* pool = nullptr;
    ID3DXEffect* effect = nullptr;
    std::string messages;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

TEST_F(EffectRuntimeGLTest, APassDrawsWithItsMatrixTextureAndCommittedValues)
{
    CreateDevice(64, 64);
    IDirect3DSurface9* target = RenderTarget(64, 64);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    ClearRect(0, 0, 64, 64, kBackground);
    ASSERT_EQ(Create(Source), D3D_OK) << messages;
    MakeQuad();
    // Half as wide and moved right by half: the engine's row-vector matrix, translation in row 3.
    D3DXMATRIX place;
    place.m[0][0] = 0.5f;
    place.m[1][1] = place.m[2][2] = place.m[3][3] = 1.0f;
    place.m[3][0] = 0.5f;
    ASSERT_EQ(effect->SetMatrix("Place", &place), D3D_OK);
    ASSERT_EQ(effect->SetTexture("Picture", MakePicture()), D3D_OK);

    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    const D3DXVECTOR4 half{0.5f, 0.5f, 0.5f, 1.0f};
    effect->SetVector("Tint", &half);
    ASSERT_EQ(effect->CommitChanges(), D3D_OK);
    EXPECT_EQ(Draw(), D3D_OK);
    effect->EndPass();
    effect->End();

    const GLImage image = GLReadSurface(*target);
    SavePng(image, "effect-runtime-quad.png");
    EXPECT_EQ(PixelAt(image, 8, 32), kBackground) << "the left half stays clear";
    EXPECT_EQ(PixelAt(image, 30, 32), kBackground);
    const D3DCOLOR left = PixelAt(image, 40, 32), right = PixelAt(image, 56, 32);
    EXPECT_NEAR(int((left >> 16) & 0xFF), 128, 2) << "red at half strength";
    EXPECT_EQ(left & 0xFFFF, 0u);
    EXPECT_NEAR(int((right >> 8) & 0xFF), 128, 2) << "green at half strength";
    EXPECT_EQ(right & 0xFF00FF, 0u);

    DWORD blending = 1;
    ASSERT_EQ(device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(fx::RenderState::AlphaBlendEnable), &blending), D3D_OK);
    EXPECT_EQ(blending, 0u) << "End puts back the state the pass changed";
}

TEST_F(EffectRuntimeGLTest, AVertexBlocksClipDistancesCutTheGeometryWhileItsPassDraws)
{
    CreateDevice(64, 64);
    IDirect3DSurface9* target = RenderTarget(64, 64);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    ClearRect(0, 0, 64, 64, kBackground);
    // Plane 1 keeps the right half (x >= 0); plane 0, named below it, keeps everything.
    std::string clipped = Source;
    clipped.replace(clipped.find("uv = Uv; }"), 10,
                    "uv = Uv; gl_ClipDistance[0] = 1.0; gl_ClipDistance[1] = gl_Position.x; }");
    ASSERT_EQ(Create(clipped), D3D_OK) << messages;
    MakeQuad();
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    ASSERT_EQ(effect->SetMatrix("Place", &identity), D3D_OK);
    ASSERT_EQ(effect->SetTexture("Picture", MakePicture()), D3D_OK);

    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_TRUE(glIsEnabled(GL_CLIP_DISTANCE0) && glIsEnabled(GL_CLIP_DISTANCE1));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_DISTANCE2));
    EXPECT_EQ(Draw(), D3D_OK);
    effect->EndPass();
    EXPECT_FALSE(glIsEnabled(GL_CLIP_DISTANCE0) || glIsEnabled(GL_CLIP_DISTANCE1))
        << "nothing drawn after the pass writes the distances";
    effect->End();

    const GLImage image = GLReadSurface(*target);
    EXPECT_EQ(PixelAt(image, 16, 32), kBackground) << "the left half is cut away";
    EXPECT_EQ(PixelAt(image, 48, 32), D3DCOLOR_XRGB(0, 255, 0));
}

TEST_F(EffectRuntimeGLTest, AGlslFaultFailsCreationNamingTheEffectsLine)
{
    CreateDevice(16, 16);
    std::string broken = Source;
    broken.replace(broken.find("* Tint;"), 7, "* Tnit;");
    EXPECT_EQ(Create(broken), E_FAIL);
    EXPECT_EQ(effect, nullptr);
    EXPECT_NE(messages.find("memory:12:"), std::string::npos) << messages;
    EXPECT_NE(messages.find("Tnit"), std::string::npos) << messages;
}

TEST_F(EffectRuntimeGLTest, AfterTheContextIsReplacedThePassIsBuiltAgainInTheNewOne)
{
    CreateDevice(32, 32);
    const std::string tinted = R"(
float4 Tint : TINT;
glsl vertex Quad(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment Shade(vec4 Color : COLOR0) { void main() { Color = Tint; } }
technique Main { pass P0 { VertexShader = Quad; PixelShader = Shade; CullMode = NONE; } }
)";
    ASSERT_EQ(Create(tinted), D3D_OK) << messages;
    // As after a real context reset: the next Reset gives the device a new context.
    device->Backend().Find<GLDeviceData>()->lost = true;
    D3DPRESENT_PARAMETERS parameters = Parameters(32, 32, D3DMULTISAMPLE_NONE);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    MakeQuad();
    const D3DXVECTOR4 red{1, 0, 0, 1};
    effect->SetVector("Tint", &red);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    ASSERT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(Draw(), D3D_OK);
    effect->EndPass();
    effect->End();
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 16, 16), D3DCOLOR_XRGB(255, 0, 0));
}

TEST_F(EffectRuntimeGLTest, EveryEffectOfTheShowBuildsOnGL)
{
    CreateDevice(16, 16);
    const std::filesystem::path shaders = std::filesystem::path(QL_SOURCE_DIR) / "Data" / "Shaders";
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::map<std::string, std::string> includes;
    for (const auto& entry : std::filesystem::directory_iterator(shaders))
        if (entry.path().extension() == ".fxh")
            includes[entry.path().filename().string()] = read(entry.path());
    size_t effects = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shaders)) {
        if (entry.path().extension() != ".fx")
            continue;
        ++effects;
        IncludeFiles include(includes);
        ID3DXEffect* built = nullptr;
        ID3DXBuffer* buffer = nullptr;
        const std::string source = read(entry.path());
        EXPECT_EQ(D3DXCreateEffect(device, source.data(), UINT(source.size()), nullptr, &include, 0, nullptr, &built,
                                   &buffer),
                  D3D_OK)
            << entry.path() << ": " << BufferText(buffer);
        if (buffer)
            buffer->Release();
        if (built)
            built->Release();
    }
    EXPECT_GT(effects, 0u);
}
