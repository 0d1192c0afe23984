// Draws on the GL backend through the effect layer's hook: indexed geometry fed by a vertex
// declaration at the effect layer's locations, culling by Direct3D's windings, depth against a
// depth surface of another sample count, two targets written by one draw, a texture sampled as
// Direct3D samples it.
#include "Platform/Gfx/GLDeviceFixture.h"

#include <cstring>

#include "Platform/Fx/RenderStates.h"

namespace {

constexpr D3DCOLOR kBackground = D3DCOLOR_XRGB(20, 20, 20);
constexpr D3DCOLOR kVertexColour = D3DCOLOR_ARGB(255, 200, 40, 10);

struct Vertex {
    float x, y, z;
    D3DCOLOR colour;
    float u, v;
};

constexpr const char* kColourVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec4 colour;
layout(location = 4) in vec2 texcoord;
out vec4 vertexColour;
out vec2 uv;
void main()
{
    vertexColour = colour;
    uv = texcoord;
    gl_Position = vec4(position, 1.0);
}
)";

// The second target gets the colour with red and blue swapped, so that each target shows which
// output it received.
constexpr const char* kColourFragmentShader = R"(#version 330 core
in vec4 vertexColour;
in vec2 uv;
layout(location = 0) out vec4 target0;
layout(location = 1) out vec4 target1;
void main()
{
    target0 = vertexColour;
    target1 = vertexColour.bgra;
}
)";

constexpr const char* kTextureFragmentShader = R"(#version 330 core
uniform sampler2D image;
in vec4 vertexColour;
in vec2 uv;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = texture(image, uv);
}
)";

class GLDrawTest : public GLDeviceFixture {
protected:
    // Four vertices of a quad after four that must not be drawn (the draw's base vertex skips
    // them), indices after three unused ones (its start index skips them).
    void MakeQuad(float left, float top, float right, float bottom, float z)
    {
        const Vertex unused{9.0f, 9.0f, 0.0f, 0, 0.0f, 0.0f};
        const Vertex vertices[] = {unused, unused, unused, unused,
                                   {left, top, z, kVertexColour, 0.0f, 0.0f},
                                   {right, top, z, kVertexColour, 1.0f, 0.0f},
                                   {left, bottom, z, kVertexColour, 0.0f, 1.0f},
                                   {right, bottom, z, kVertexColour, 1.0f, 1.0f}};
        // Clockwise in clip space (y up), as Direct3D's default culling keeps them.
        const uint32_t indices[] = {7, 7, 7, 0, 1, 2, 2, 1, 3};
        ASSERT_EQ(device->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vertexBuffer,
                                             nullptr),
                  D3D_OK);
        ASSERT_EQ(device->CreateIndexBuffer(sizeof indices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                            &indexBuffer, nullptr),
                  D3D_OK);
        void* bytes = nullptr;
        ASSERT_EQ(vertexBuffer->Lock(0, 0, &bytes, 0), D3D_OK);
        std::memcpy(bytes, vertices, sizeof vertices);
        ASSERT_EQ(vertexBuffer->Unlock(), D3D_OK);
        ASSERT_EQ(indexBuffer->Lock(0, 0, &bytes, 0), D3D_OK);
        std::memcpy(bytes, indices, sizeof indices);
        ASSERT_EQ(indexBuffer->Unlock(), D3D_OK);

        const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                              {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                              {0, 16, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                              D3DDECL_END()};
        ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
        ASSERT_EQ(device->SetVertexDeclaration(declaration), D3D_OK);
        ASSERT_EQ(device->SetStreamSource(0, vertexBuffer, 0, sizeof(Vertex)), D3D_OK);
        ASSERT_EQ(device->SetIndices(indexBuffer), D3D_OK);
    }

    // Inside a scene of its own.
    HRESULT DrawQuad()
    {
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        const HRESULT hr = device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 3, 2);
        EXPECT_EQ(device->EndScene(), D3D_OK);
        return hr;
    }

    void SetState(fx::RenderState state, uint32_t value)
    {
        ASSERT_EQ(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value), D3D_OK);
    }

    void TearDown() override
    {
        if (device) {
            device->SetIndices(nullptr);
            device->SetStreamSource(0, nullptr, 0, 0);
            device->SetVertexDeclaration(nullptr);
        }
        for (Unknown* object : std::initializer_list<Unknown*>{vertexBuffer, indexBuffer, declaration}) {
            if (object) {
                object->Release();
            }
        }
        GLDeviceFixture::TearDown();
    }

    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

TEST_F(GLDrawTest, IndexedQuadLandsInTheTopHalfWithItsVertexColour)
{
    CreateDevice(64, 64);
    IDirect3DSurface9* target = RenderTarget(64, 64);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    ClearRect(0, 0, 64, 64, kBackground);
    MakeQuad(-0.5f, 1.0f, 0.5f, 0.0f, 0.5f);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL) << "no program yet";
    ASSERT_EQ(GLUseProgram(*device, BuildProgram(kColourVertexShader, kColourFragmentShader)), D3D_OK);
    ASSERT_EQ(DrawQuad(), D3D_OK);

    const GLImage image = GLReadSurface(*target);
    EXPECT_EQ(PixelAt(image, 16, 0), kVertexColour);
    EXPECT_EQ(PixelAt(image, 47, 31), kVertexColour);
    EXPECT_EQ(PixelAt(image, 32, 32), kBackground);
    EXPECT_EQ(PixelAt(image, 15, 10), kBackground);
    EXPECT_EQ(PixelAt(image, 48, 10), kBackground);
    EXPECT_EQ(PixelAt(image, 32, 63), kBackground);
    SavePng(image, "gl-quad.png");
}

TEST_F(GLDrawTest, CullModesNameWindingsAsDirect3DDoes)
{
    CreateDevice(32, 32);
    MakeQuad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f);
    ASSERT_EQ(GLUseProgram(*device, BuildProgram(kColourVertexShader, kColourFragmentShader)), D3D_OK);
    const auto drawnWith = [&](fx::Cull cull) {
        ClearRect(0, 0, 32, 32, kBackground);
        SetState(fx::RenderState::CullMode, static_cast<uint32_t>(cull));
        EXPECT_EQ(DrawQuad(), D3D_OK);
        return PixelAt(GLReadBackBuffer(*device), 16, 16) == kVertexColour;
    };
    EXPECT_TRUE(drawnWith(fx::Cull::CCW)) << "clockwise triangles survive CCW culling";
    EXPECT_FALSE(drawnWith(fx::Cull::CW));
    EXPECT_TRUE(drawnWith(fx::Cull::None));
    EXPECT_EQ(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(fx::RenderState::CullMode), 7), D3DERR_INVALIDCALL);
}

TEST_F(GLDrawTest, BlendingAndWriteMasksFollowThePassStates)
{
    CreateDevice(32, 32);
    MakeQuad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f);
    ASSERT_EQ(GLUseProgram(*device, BuildProgram(kColourVertexShader, kColourFragmentShader)), D3D_OK);
    const D3DCOLOR under = D3DCOLOR_XRGB(0, 100, 200);
    ClearRect(0, 0, 32, 32, under);
    // One plus one, per channel, saturated: 200+0, 40+100, 10+200.
    SetState(fx::RenderState::AlphaBlendEnable, 1);
    SetState(fx::RenderState::SrcBlend, static_cast<uint32_t>(fx::Blend::One));
    SetState(fx::RenderState::DestBlend, static_cast<uint32_t>(fx::Blend::One));
    ASSERT_EQ(DrawQuad(), D3D_OK);
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 16, 16), D3DCOLOR_XRGB(200, 140, 210));

    ClearRect(0, 0, 32, 32, under);
    SetState(fx::RenderState::AlphaBlendEnable, 0);
    SetState(fx::RenderState::ColorWriteEnable, fx::ColorWriteRed);
    ASSERT_EQ(DrawQuad(), D3D_OK);
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 16, 16), D3DCOLOR_XRGB(200, 100, 200));

    // A clear writes every channel whatever the mask; the mask holds again for the next draw.
    ClearRect(0, 0, 32, 32, kBackground);
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 16, 16), kBackground);
    ASSERT_EQ(DrawQuad(), D3D_OK);
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 16, 16), D3DCOLOR_XRGB(200, 20, 20));

    DWORD mask = 0;
    ASSERT_EQ(device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(fx::RenderState::ColorWriteEnable), &mask), D3D_OK);
    EXPECT_EQ(mask, static_cast<DWORD>(fx::ColorWriteRed));
    DWORD zFunc = 0;
    ASSERT_EQ(device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(fx::RenderState::ZFunc), &zFunc), D3D_OK);
    EXPECT_EQ(zFunc, static_cast<DWORD>(fx::Compare::LessEqual)) << "Direct3D's default";
}

TEST_F(GLDrawTest, DepthTestWorksWithADepthSurfaceOfAnotherSampleCount)
{
    CreateDevice(64, 64, D3DMULTISAMPLE_4_SAMPLES);
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(128, 128, D3DFMT_D24S8, D3DMULTISAMPLE_4_SAMPLES, 0, TRUE, &depth,
                                                nullptr),
              D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    depth->Release(); // the device's binding holds it
    MakeQuad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f);
    ASSERT_EQ(GLUseProgram(*device, BuildProgram(kColourVertexShader, kColourFragmentShader)), D3D_OK);
    SetState(fx::RenderState::ZEnable, 1);
    SetState(fx::RenderState::ZFunc, static_cast<uint32_t>(fx::Compare::LessEqual));

    // The single-sampled target gets a companion depth buffer, the back buffer the surface itself.
    IDirect3DSurface9* target = RenderTarget(64, 64);
    for (IDirect3DSurface9* colour : {target, &device->BackBuffer()}) {
        ASSERT_EQ(device->SetRenderTarget(0, colour), D3D_OK);
        for (const float clearDepth : {0.25f, 1.0f}) {
            ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kBackground,
                                    clearDepth, 0),
                      D3D_OK);
            ASSERT_EQ(DrawQuad(), D3D_OK);
            const D3DCOLOR seen = PixelAt(GLReadSurface(*colour), 32, 32);
            EXPECT_EQ(seen, clearDepth < 0.5f ? kBackground : kVertexColour)
                << "depth cleared to " << clearDepth << (colour == target ? " on the texture" : " on the back buffer");
        }
    }
}

TEST_F(GLDrawTest, OneDrawWritesTwoTargets)
{
    CreateDevice(32, 32);
    IDirect3DSurface9* first = RenderTarget(32, 32);
    IDirect3DSurface9* second = RenderTarget(32, 32, D3DFMT_A16B16G16R16F);
    ASSERT_EQ(device->SetRenderTarget(0, first), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(1, second), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, kBackground, 1.0f, 0), D3D_OK);
    MakeQuad(-1.0f, 1.0f, 0.0f, -1.0f, 0.5f);
    ASSERT_EQ(GLUseProgram(*device, BuildProgram(kColourVertexShader, kColourFragmentShader)), D3D_OK);
    ASSERT_EQ(DrawQuad(), D3D_OK);

    const GLImage one = GLReadSurface(*first);
    const GLImage two = GLReadSurface(*second);
    EXPECT_EQ(PixelAt(one, 8, 8), kVertexColour);
    EXPECT_EQ(PixelAt(two, 8, 8), D3DCOLOR_ARGB(255, 10, 40, 200));
    EXPECT_EQ(PixelAt(one, 24, 8), kBackground);
    EXPECT_EQ(PixelAt(two, 24, 8), kBackground);
}

TEST_F(GLDrawTest, TextureSamplesReadTheLockedTexelsTopRowFirstWithOpaqueX8)
{
    CreateDevice(2, 2);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    textures.push_back(texture);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    // The X byte is 0: sampling must still read alpha 1.
    const D3DCOLOR texels[2][2] = {{0x00FF0000, 0x0000FF00}, {0x000000FF, 0x00FFFFFF}};
    for (int row = 0; row < 2; ++row) {
        std::memcpy(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch, texels[row], sizeof texels[row]);
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    IDirect3DSurface9* target = RenderTarget(2, 2);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    MakeQuad(-1.0f, 1.0f, 1.0f, -1.0f, 0.5f);
    const GLuint program = BuildProgram(kColourVertexShader, kTextureFragmentShader);
    ASSERT_EQ(GLUseProgram(*device, program), D3D_OK);
    glUniform1i(glGetUniformLocation(program, "image"), 0);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    ASSERT_TRUE(GLTextureOf(*texture).has_value());
    EXPECT_EQ(GLTextureOf(*texture)->target, static_cast<GLenum>(GL_TEXTURE_2D));
    ASSERT_EQ(DrawQuad(), D3D_OK);

    const GLImage image = GLReadSurface(*target);
    EXPECT_EQ(PixelAt(image, 0, 0), D3DCOLOR_ARGB(255, 255, 0, 0));
    EXPECT_EQ(PixelAt(image, 1, 0), D3DCOLOR_ARGB(255, 0, 255, 0));
    EXPECT_EQ(PixelAt(image, 0, 1), D3DCOLOR_ARGB(255, 0, 0, 255));
    EXPECT_EQ(PixelAt(image, 1, 1), D3DCOLOR_ARGB(255, 255, 255, 255));
}

} // namespace
