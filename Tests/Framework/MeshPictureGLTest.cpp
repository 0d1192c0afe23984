// A whole picture through the engine on GL: an archive with an effect of two techniques, a texture
// it names and a ".x" mesh; the mesh drawn twice into a render target, placed by a value shared
// through the effect pool and set on another effect. The pixels read back show the mesh where it
// belongs, in the right colours, with the texture the right way up; mesh-picture.png shows it all.
#include "Platform/Gfx/GLPicture.h"
#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXMesh/DXMesh.h"
#include "Framework/LiveReload/LiveData.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/ReleaseAndClear.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

namespace {

// A square facing the viewer, wound clockwise as seen: front-facing under the default culling.
// Texture corners (0, 0) at its top left.
const std::string Square = R"(xof 0303txt 0032
Mesh Square {
 4;
 -0.4;0.4;0.0;,
 0.4;0.4;0.0;,
 0.4;-0.4;0.0;,
 -0.4;-0.4;0.0;;
 2;
 3;0,1,2;,
 3;0,2,3;;
 MeshNormals { 1; 0.0;0.0;-1.0;; 2; 3;0,0,0;, 3;0,0,0;; }
 MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;; }
 MeshMaterialList {
  1; 2; 0, 0;;
  Material Yellow { 1.0;1.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
 }
}
)";

const std::string SquareEffect = R"(
shared float4x4 ViewProj : VIEWPROJ;
float4x4 World : LOCAL;
float4 Diffuse : DIFFUSE;
texture2D Quadrants : TEXTURE0 < string ResourceName = "quadrants.png"; >;
sampler2D QuadrantSampler = sampler_state { Texture = Quadrants; Filter = POINT; Address = CLAMP; };
glsl vertex Place(vec3 Position : POSITION0, vec2 TexCoord : TEXCOORD0) {
    out vec2 uv;
    void main()
    {
        gl_Position = vec4(Position, 1.0) * World * ViewProj;
        uv = TexCoord;
    }
}
glsl fragment ShadeFlat(vec4 Color : COLOR0) { void main() { Color = Diffuse; } }
glsl fragment ShadeTextured(vec4 Color : COLOR0) {
    in vec2 uv;
    void main() { Color = texture(QuadrantSampler, uv); }
}
technique Flat { pass P0 { VertexShader = Place; PixelShader = ShadeFlat; } }
technique Textured { pass P0 { VertexShader = Place; PixelShader = ShadeTextured; } }
)";

constexpr UINT Size = 64;
constexpr D3DCOLOR Background = D3DCOLOR_XRGB(0, 0, 64);
constexpr D3DCOLOR Yellow = D3DCOLOR_XRGB(255, 255, 0);
constexpr D3DCOLOR Red = D3DCOLOR_XRGB(255, 0, 0);
constexpr D3DCOLOR Green = D3DCOLOR_XRGB(0, 255, 0);
constexpr D3DCOLOR Blue = D3DCOLOR_XRGB(0, 0, 255);
constexpr D3DCOLOR White = D3DCOLOR_XRGB(255, 255, 255);

// Top left red, top right green, bottom left blue, bottom right white.
std::vector<unsigned char> QuadrantTexture()
{
    return Png(16, 16, [](unsigned x, unsigned y) {
        const bool right = x >= 8;
        const bool bottom = y >= 8;
        if (!bottom)
            return right ? RgbPixel{0, 255, 0} : RgbPixel{255, 0, 0};
        return right ? RgbPixel{255, 255, 255} : RgbPixel{0, 0, 255};
    });
}

D3DXMATRIX Translation(float x, float y, float z)
{
    D3DXMATRIX matrix;
    D3DXMatrixTranslation(&matrix, x, y, z);
    return matrix;
}

// The pixel of the target at a point in normalised device coordinates (y up).
UINT Column(float x)
{
    return static_cast<UINT>((x + 1.0f) * 0.5f * Size);
}

UINT Row(float y)
{
    return static_cast<UINT>((1.0f - y) * 0.5f * Size);
}

} // namespace

class MeshPictureGLTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        ArchiveWriter writer;
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
        writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
        writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
        writer.Add("OShaders\\square.fxo", CompileEffect(SquareEffect));
        writer.Add("Data\\quadrants.png", QuadrantTexture());
        writer.Add("Data\\square.x", Bytes(Square));
        WriteArchive(writer.Build());
        std::filesystem::create_directories("loose/Data");

        framework = std::make_unique<DXFramework>(nullptr, commandLine, "Quiet Lantern", GLDirect3DCreator());
        framework->musicEnabled = false;
        framework->settings.multiSampleType = 0;
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
    }

    void TearDown() override
    {
        ReleaseAndClear(surface);
        ReleaseAndClear(target);
        framework.reset();
        ShowFixture::TearDown();
    }

    // The textured square alone, read back.
    GLImage DrawTexturedSquare(DXMesh& square)
    {
        IDirect3DDevice9& device = *DXFramework::device;
        EXPECT_EQ(device.SetRenderTarget(0, surface), D3D_OK);
        EXPECT_EQ(device.BeginScene(), D3D_OK);
        EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, Background, 1.0f, 0), D3D_OK);
        DXEffectHandler::SetActiveEffect("Global");
        const D3DXMATRIX identity = IdentityMatrix();
        DXEffectHandler::SetMatrixBySemantic("VIEWPROJ", &identity);
        DXEffectHandler::SetActiveEffect("square");
        DXEffectHandler::SetTechnique("Textured");
        square.worldMatrix = identity;
        DXEffectHandler::DrawObject(square);
        EXPECT_EQ(device.EndScene(), D3D_OK);
        return GLReadSurface(*surface);
    }

    // The render target the square is drawn into, and the effect "square" that draws it.
    void MakeTargetAndEffect()
    {
        ASSERT_EQ(DXFramework::device->CreateTexture(Size, Size, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                                     D3DPOOL_DEFAULT, &target, nullptr),
                  D3D_OK);
        ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
        DXEffectHandler::Instance()->AddEffect("square", "square.fx", framework->effectPool);
    }

    std::string commandLine = "--nosetup";
    std::unique_ptr<DXFramework> framework;
    IDirect3DTexture9* target = nullptr;
    IDirect3DSurface9* surface = nullptr;
};

TEST_F(MeshPictureGLTest, TheMeshAppearsWhereItsSharedCameraPutsItInBothTechniques)
{
    IDirect3DDevice9& device = *DXFramework::device;
    ASSERT_NO_FATAL_FAILURE(MakeTargetAndEffect());
    DXMesh square("", 0);
    square.LoadX("square.x");

    ASSERT_EQ(device.SetRenderTarget(0, surface), D3D_OK);
    ASSERT_EQ(device.BeginScene(), D3D_OK);
    ASSERT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, Background, 1.0f, 0), D3D_OK);
    // The camera goes into the pool through the Global effect; the square's effect only reads it.
    DXEffectHandler::SetActiveEffect("Global");
    D3DXMATRIX viewProjection;
    D3DXMatrixScaling(&viewProjection, 0.9f, 0.8f, 1.0f);
    DXEffectHandler::SetMatrixBySemantic("VIEWPROJ", &viewProjection);
    DXEffectHandler::SetActiveEffect("square");
    DXEffectHandler::SetTechnique("Flat");
    square.worldMatrix = Translation(-0.5f, 0.0f, 0.0f);
    DXEffectHandler::DrawObject(square);
    DXEffectHandler::SetTechnique("Textured");
    square.worldMatrix = Translation(0.5f, 0.0f, 0.0f);
    DXEffectHandler::DrawObject(square);
    ASSERT_EQ(device.EndScene(), D3D_OK);

    const GLImage picture = GLReadSurface(*surface);
    SavePng(picture, "mesh-picture.png");
    ASSERT_EQ(picture.width, Size);

    // The squares span x 0.9 * (+-0.5 +- 0.4) and y 0.8 * +-0.4 in device coordinates.
    EXPECT_EQ(PixelAt(picture, Column(-0.45f), Row(0.0f)), Yellow);
    EXPECT_EQ(PixelAt(picture, Column(0.27f), Row(0.16f)), Red);
    EXPECT_EQ(PixelAt(picture, Column(0.63f), Row(0.16f)), Green);
    EXPECT_EQ(PixelAt(picture, Column(0.27f), Row(-0.16f)), Blue);
    EXPECT_EQ(PixelAt(picture, Column(0.63f), Row(-0.16f)), White);
    // Around and between them, the clear colour.
    for (const auto& [x, y] : {std::pair{0.0f, 0.0f}, {-0.45f, 0.4f}, {0.45f, -0.4f}, {-0.85f, 0.0f}, {0.85f, 0.0f},
                               {-0.95f, 0.95f}})
        EXPECT_EQ(PixelAt(picture, Column(x), Row(y)), Background) << "at " << x << ", " << y;
}

class LiveTextureGLTest : public MeshPictureGLTest {
protected:
    LiveTextureGLTest() { commandLine = "--nosetup --dev --data loose"; }
};

TEST_F(LiveTextureGLTest, ATextureSavedUnderARunningShowShowsItsNewPixels)
{
    ASSERT_NO_FATAL_FAILURE(MakeTargetAndEffect());
    DXMesh square("", 0);
    square.LoadX("square.x");
    EXPECT_EQ(PixelAt(DrawTexturedSquare(square), Column(-0.2f), Row(0.2f)), Red);

    // Left half magenta, right half cyan.
    WriteWholeFile("loose/Data/quadrants.png", Png(16, 16, [](unsigned x, unsigned) {
        return x < 8 ? RgbPixel{255, 0, 255} : RgbPixel{0, 255, 255};
    }));
    const auto now = LiveData::Clock::now();
    framework->Live()->Poll(now);
    ASSERT_EQ(framework->Live()->Poll(now + std::chrono::seconds(1)), 1u);

    const GLImage picture = DrawTexturedSquare(square);
    SavePng(picture, "live-texture.png");
    EXPECT_EQ(PixelAt(picture, Column(-0.2f), Row(0.2f)), D3DCOLOR_XRGB(255, 0, 255));
    EXPECT_EQ(PixelAt(picture, Column(0.2f), Row(-0.2f)), D3DCOLOR_XRGB(0, 255, 255));
    EXPECT_EQ(PixelAt(picture, Column(0.0f), Row(0.6f)), Background);
}
