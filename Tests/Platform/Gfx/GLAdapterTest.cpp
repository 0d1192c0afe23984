// What the GL backend reports about adapter 0 before any device exists, and that it holds to it:
// the capabilities and formats the framework requires, display modes, and the sample counts
// devices can really be made with.
#include "Platform/Gfx/GLDeviceFixture.h"
#include "Support/RequireGL.h"

namespace {

class GLAdapterTest : public GLDeviceFixture {
protected:
    void SetUp() override
    {
        direct3d = CreateGLDirect3D();
        if (direct3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps) == D3DERR_NOTAVAILABLE) {
            QL_GL_UNAVAILABLE("no OpenGL 3.3 core context with clip control can be created here");
        }
    }

    HRESULT Check(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format, D3DFORMAT adapter = D3DFMT_X8R8G8B8)
    {
        return direct3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, adapter, usage, type, format);
    }

    D3DCAPS9 caps;
};

TEST_F(GLAdapterTest, CapabilitiesMeetWhatTheFrameworkRequires)
{
    EXPECT_GE(caps.NumSimultaneousRTs, 4u);
    EXPECT_TRUE(caps.PrimitiveMiscCaps & D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING);
    EXPECT_GE(caps.VertexShaderVersion & 0xFFFF, 0x300u);
    EXPECT_GE(caps.PixelShaderVersion & 0xFFFF, 0x300u);
    EXPECT_GE(caps.MaxTextureWidth, 2048u);
    EXPECT_GE(caps.MaxTextureHeight, 2048u);
    EXPECT_TRUE(caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP);
    EXPECT_TRUE(caps.TextureCaps & D3DPTEXTURECAPS_VOLUMEMAP);
    EXPECT_FALSE(caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY);
    EXPECT_FALSE(caps.TextureCaps & D3DPTEXTURECAPS_POW2);
    EXPECT_NE(caps.VertexProcessingCaps, 0u);
    EXPECT_EQ(Check(D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE, D3DFMT_A16B16G16R16F), D3D_OK);
    EXPECT_EQ(Check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D16), D3D_OK);
    EXPECT_EQ(Check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8), D3D_OK);
}

TEST_F(GLAdapterTest, FormatChecksRefuseWhatTheBackendCannotMake)
{
    EXPECT_EQ(Check(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_L8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Check(D3DUSAGE_RENDERTARGET, D3DRTYPE_VOLUMETEXTURE, D3DFMT_A8R8G8B8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_A8R8G8B8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Check(D3DUSAGE_QUERY_SRGBREAD, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Check(0, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8), D3DERR_NOTAVAILABLE)
        << "the display format is X8R8G8B8";
    EXPECT_EQ(Check(D3DUSAGE_DYNAMIC, D3DRTYPE_VOLUMETEXTURE, D3DFMT_L8), D3D_OK);
    EXPECT_EQ(Check(D3DUSAGE_RENDERTARGET, D3DRTYPE_CUBETEXTURE, D3DFMT_A16B16G16R16F), D3D_OK);
}

TEST_F(GLAdapterTest, DisplayModesAreX8R8G8B8FromTheSmallestUp)
{
    D3DDISPLAYMODE desktop;
    ASSERT_EQ(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop), D3D_OK);
    EXPECT_EQ(desktop.Format, D3DFMT_X8R8G8B8);
    EXPECT_GT(desktop.Width, 0u);
    const UINT count = direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    ASSERT_GT(count, 0u);
    EXPECT_EQ(direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_A8R8G8B8), 0u);
    D3DDISPLAYMODE previous;
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode;
        ASSERT_EQ(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
        EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
        EXPECT_GT(mode.Width * mode.Height, 0u);
        if (i > 0) {
            EXPECT_LE(uint64_t{previous.Width} << 32 | previous.Height, uint64_t{mode.Width} << 32 | mode.Height);
        }
        previous = mode;
    }
    D3DDISPLAYMODE past;
    EXPECT_EQ(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, count, &past), D3DERR_INVALIDCALL);
}

TEST_F(GLAdapterTest, EverySampleCountOfferedMakesADeviceAndAMatchingDepthSurface)
{
    DWORD levels = 0;
    ASSERT_EQ(direct3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                                   D3DMULTISAMPLE_NONE, &levels),
              D3D_OK);
    EXPECT_EQ(levels, 1u);
    direct3d->Release();
    direct3d = nullptr;
    UINT offered = 0;
    for (UINT count = 2; count <= 16; ++count) {
        const auto type = static_cast<D3DMULTISAMPLE_TYPE>(count);
        IDirect3D9* probe = CreateGLDirect3D();
        const bool colour = SUCCEEDED(probe->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                                        D3DFMT_X8R8G8B8, TRUE, type, nullptr));
        const bool depth = SUCCEEDED(probe->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_D24S8,
                                                                       TRUE, type, nullptr));
        probe->Release();
        EXPECT_EQ(colour, depth) << count << " samples";
        if (!colour) {
            continue;
        }
        ++offered;
        CreateDevice(64, 32, type);
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(device->CreateDepthStencilSurface(64, 32, D3DFMT_D24S8, type, 0, TRUE, &surface, nullptr), D3D_OK);
        ClearRect(0, 0, 64, 32, D3DCOLOR_XRGB(1, 2, 3));
        EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 63, 31), D3DCOLOR_XRGB(1, 2, 3)) << count << " samples";
        surface->Release();
        TearDown();
        device = nullptr;
        direct3d = nullptr;
        window = nullptr;
    }
    EXPECT_GT(offered, 0u) << "GL 3.3 offers multisampling";
}

} // namespace
