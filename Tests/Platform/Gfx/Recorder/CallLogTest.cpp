// The Recorder's log: calls kept as data, with copies of what their pointers pointed to, and what
// was bound when a draw or clear ran.
#include <cstring>
#include <stdexcept>

#include "Gfx/RecorderFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class CallLogTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(); }
};

TEST_F(CallLogTest, CountsAndArgumentsOfEachCall)
{
    IDirect3DTexture9* first = MakeTexture(64, 32, D3DUSAGE_RENDERTARGET, D3DFMT_G16R16F, D3DPOOL_DEFAULT);
    IDirect3DTexture9* second = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0);

    ASSERT_EQ(recorder->Count(Op::CreateTexture), 2u);
    const Calls::CreateTexture& call = recorder->Call<Op::CreateTexture>(0);
    EXPECT_EQ(call.Width, 64u);
    EXPECT_EQ(call.Height, 32u);
    EXPECT_EQ(call.Usage, D3DUSAGE_RENDERTARGET);
    EXPECT_EQ(call.Format, D3DFMT_G16R16F);
    EXPECT_EQ(call.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(*call.ppTexture, first);
    EXPECT_EQ(recorder->Call<Op::CreateTexture>(1).Levels, 0u); // as passed, not as resolved
    EXPECT_EQ(*recorder->Call<Op::CreateTexture>(1).ppTexture, second);
    ReleaseAll(second, first);
}

TEST_F(CallLogTest, PointerArgumentsAreKeptAsTheyWere)
{
    D3DVIEWPORT9 viewport{0, 75, 800, 450, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    viewport.Y = 0;
    const D3DRECT rects[] = {{0, 0, 10, 10}, {20, 20, 30, 30}};
    ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);

    EXPECT_EQ(recorder->Call<Op::SetViewport>(0).pViewport->Y, 75u);
    const Calls::Clear& clear = recorder->Call<Op::Clear>(0);
    ASSERT_NE(clear.pRects, rects);
    EXPECT_EQ(clear.pRects[1].x2, 30);
    EXPECT_EQ(clear.Color, 0xFF000000u);

    D3DCAPS9 caps;
    ASSERT_EQ(direct3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(recorder->Call<Op::GetDeviceCaps>(0).pCaps->NumSimultaneousRTs, 4u);
}

TEST_F(CallLogTest, OutputsAreKeptOnlyFromCallsThatSucceeded)
{
    IDirect3DTexture9* texture = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    recorder->FailCall(Op::LockRect, 1, D3DERR_WASSTILLDRAWING);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_WASSTILLDRAWING);

    EXPECT_EQ(recorder->Call<Op::LockRect>(0).pLockedRect->Pitch, 64);
    EXPECT_EQ(recorder->Call<Op::LockRect>(1).pLockedRect, nullptr);
    EXPECT_EQ(recorder->Record(Op::LockRect, 1).result, D3DERR_WASSTILLDRAWING);
    EXPECT_TRUE(recorder->Record(Op::LockRect, 1).injected);
    texture->Release();
}

TEST_F(CallLogTest, ADrawKeepsWhatWasBound)
{
    IDirect3DTexture9* colour = MakeTexture(800, 600, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* velocity = MakeTexture(800, 600, D3DUSAGE_RENDERTARGET, D3DFMT_G16R16F, D3DPOOL_DEFAULT);
    IDirect3DSurface9* colourSurface = Level0(colour);
    IDirect3DSurface9* velocitySurface = Level0(velocity);
    IDirect3DSurface9* depth = MakeDepthSurface(2048, 2048);
    const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    IDirect3DVertexBuffer9* vertices = MakeVertexBuffer(36);
    IDirect3DIndexBuffer9* indices = MakeIndexBuffer(12);
    void* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    const uint32_t triangle[] = {0, 1, 2};
    std::memcpy(data, triangle, sizeof triangle);
    ASSERT_EQ(indices->Unlock(), D3D_OK);

    ASSERT_EQ(device->SetRenderTarget(0, colourSurface), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(1, velocitySurface), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    const D3DVIEWPORT9 viewport{0, 75, 800, 450, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(device->SetVertexDeclaration(declaration), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, vertices, 0, 12), D3D_OK);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(1, nullptr), D3D_OK);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);

    const DeviceState& first = recorder->Bound(Op::DrawIndexedPrimitive, 0);
    EXPECT_THAT(first.renderTargets, ElementsAre(colourSurface, velocitySurface, nullptr, nullptr));
    EXPECT_EQ(first.depthStencil, depth);
    EXPECT_EQ(first.viewport.Y, 75u);
    EXPECT_EQ(first.viewport.Height, 450u);
    EXPECT_EQ(first.streams[0].buffer, vertices);
    EXPECT_EQ(first.streams[0].stride, 12u);
    EXPECT_EQ(first.indices, indices);
    EXPECT_EQ(recorder->Bound(Op::DrawIndexedPrimitive, 1).renderTargets[1], nullptr);
    EXPECT_THROW(recorder->Bound(Op::SetIndices, 0), std::invalid_argument);
    ReleaseAll(indices, vertices, declaration, depth, velocitySurface, colourSurface, velocity, colour);
}

TEST_F(CallLogTest, BindingTargetZeroSetsTheViewportToTheTarget)
{
    IDirect3DTexture9* bloom = MakeTexture(100, 56, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* surface = Level0(bloom);
    const D3DVIEWPORT9 letterbox{0, 75, 800, 450, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&letterbox), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);

    D3DVIEWPORT9 viewport;
    ASSERT_EQ(device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 100u);
    EXPECT_EQ(viewport.Height, 56u);
    ReleaseAll(surface, bloom);
}

TEST_F(CallLogTest, TheSequenceFollowsTheCalls)
{
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_THAT(recorder->Sequence(),
                ElementsAre(Op::CreateDevice, Op::BeginScene, Op::Clear, Op::EndScene, Op::Present));
}

TEST_F(CallLogTest, AMissingCallIsNamed)
{
    try {
        recorder->Record(Op::Present, 0);
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_THAT(error.what(), HasSubstr("no call 0 of Present"));
    }
}

TEST_F(CallLogTest, LongRunsCanKeepCountsOnly)
{
    recorder->Config().keepCalls = false;
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    EXPECT_EQ(recorder->Count(Op::Present), 3u);
    EXPECT_EQ(recorder->Calls().size(), 1u); // CreateDevice, from before
}

// The Recorder's adapter answers from its configuration.
TEST_F(CallLogTest, TheAdapterIsTheConfiguredOne)
{
    ASSERT_EQ(direct3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), recorder->Config().modes.size());
    EXPECT_EQ(direct3d->GetAdapterModeCount(0, D3DFMT_A8R8G8B8), 0u);
    EXPECT_EQ(direct3d->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(direct3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(direct3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 99, &mode), D3DERR_INVALIDCALL);
    ASSERT_EQ(direct3d->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Height, 1080u);

    EXPECT_EQ(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                          D3DRTYPE_TEXTURE, D3DFMT_A16B16G16R16F),
              D3D_OK);
    EXPECT_EQ(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET,
                                          D3DRTYPE_VOLUMETEXTURE, D3DFMT_L8),
              D3DERR_NOTAVAILABLE);
    DWORD quality = 0;
    EXPECT_EQ(direct3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D16, FALSE, D3DMULTISAMPLE_4_SAMPLES,
                                                   &quality),
              D3D_OK);
    EXPECT_EQ(quality, 1u);
    EXPECT_EQ(direct3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, FALSE,
                                                   D3DMULTISAMPLE_16_SAMPLES, nullptr),
              D3DERR_NOTAVAILABLE);

    recorder->Config().caps.MaxTextureWidth = 1024;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(2048, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(CallLogTest, AFullscreenDeviceNeedsAListedMode)
{
    ReleaseDevice();
    direct3d = CreateRecorderDirect3D(recorder);
    D3DPRESENT_PARAMETERS parameters = WindowedParameters(1000, 700);
    parameters.Windowed = FALSE;
    EXPECT_EQ(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                     &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    parameters = WindowedParameters(1024, 768);
    parameters.Windowed = FALSE;
    parameters.FullScreen_RefreshRateInHz = 75;
    EXPECT_EQ(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                     &device),
              D3D_OK);
}

} // namespace
