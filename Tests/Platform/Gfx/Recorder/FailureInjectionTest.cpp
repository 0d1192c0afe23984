// Failing chosen calls, losing the device, and Reset, which Direct3D refuses while callers still
// hold default-pool resources.
#include <cstring>
#include <stdexcept>

#include "Gfx/RecorderFixture.h"

namespace {

class FailureInjectionTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(); }

    HRESULT Reset(UINT width = 800, UINT height = 600)
    {
        D3DPRESENT_PARAMETERS parameters = WindowedParameters(width, height);
        return device->Reset(&parameters);
    }

    HRESULT Present() { return device->Present(nullptr, nullptr, nullptr, nullptr); }
};

TEST_F(FailureInjectionTest, TheNthCallFailsWithTheChosenCode)
{
    recorder->FailCall(Op::CreateTexture, 1, D3DERR_OUTOFVIDEOMEMORY);
    IDirect3DTexture9* first = MakeTexture(16, 16, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* second = first;
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &second,
                                    nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(second, nullptr);
    IDirect3DTexture9* third = MakeTexture(16, 16, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);

    EXPECT_EQ(recorder->LiveObjects().size(), 3u); // the device and two textures: the refused one is gone
    EXPECT_TRUE(recorder->Record(Op::CreateTexture, 1).injected);
    EXPECT_FALSE(recorder->Record(Op::CreateTexture, 2).injected);
    EXPECT_FALSE(recorder->DeviceLost());
    ReleaseAll(third, first);
}

TEST_F(FailureInjectionTest, EveryCallFromTheNthFails)
{
    recorder->FailCallsFrom(Op::SetViewport, 1, E_FAIL);
    const D3DVIEWPORT9 viewport{0, 0, 10, 10, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&viewport), D3D_OK);
    EXPECT_EQ(device->SetViewport(&viewport), E_FAIL);
    EXPECT_EQ(device->SetViewport(&viewport), E_FAIL);
    recorder->Failures().Clear();
    EXPECT_EQ(device->SetViewport(&viewport), D3D_OK);
}

TEST_F(FailureInjectionTest, AFailedLockLeavesTheResourceUnlocked)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    recorder->FailCall(Op::LockVertexBuffer, 0, D3DERR_INVALIDCALL);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3DERR_INVALIDCALL);
    EXPECT_FALSE(buffer->Locked());
    EXPECT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    buffer->Release();
}

TEST_F(FailureInjectionTest, APlanNeedsAFailureOfAnOperationThatCanFail)
{
    EXPECT_THROW(recorder->FailCall(Op::Present, 0, D3D_OK), std::invalid_argument);
    EXPECT_THROW(recorder->FailCall(Op::GetAdapterModeCount, 0, E_FAIL), std::invalid_argument);
}

TEST_F(FailureInjectionTest, ALostDeviceStaysLostUntilReset)
{
    recorder->FailCall(Op::Present, 2, D3DERR_DEVICELOST);
    EXPECT_EQ(Present(), D3D_OK);
    EXPECT_EQ(Present(), D3D_OK);
    EXPECT_EQ(Present(), D3DERR_DEVICELOST);
    EXPECT_TRUE(recorder->DeviceLost());
    EXPECT_EQ(Present(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    ASSERT_EQ(Reset(), D3D_OK);
    EXPECT_FALSE(recorder->DeviceLost());
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(Present(), D3D_OK);
}

TEST_F(FailureInjectionTest, ResetIsRefusedWhileADefaultPoolResourceIsReferenced)
{
    IDirect3DTexture9* target = MakeTexture(64, 64, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* managed = MakeTexture(64, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::Reset), 0u);

    // A level surface still held keeps its texture referenced.
    IDirect3DSurface9* level = Level0(target);
    target->Release();
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    level->Release();

    EXPECT_EQ(Reset(), D3D_OK);
    managed->Release();
}

TEST_F(FailureInjectionTest, ResetIsRefusedWhileTheBackBufferIsHeld)
{
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    backBuffer->Release();
    EXPECT_EQ(Reset(), D3D_OK);
}

TEST_F(FailureInjectionTest, ResetUnbindsAndResizes)
{
    IDirect3DSurface9* depth = MakeDepthSurface(2048, 2048);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    depth->Release(); // the device alone keeps it now, as the framework's release path leaves it

    ASSERT_EQ(Reset(1280, 720), D3D_OK);
    EXPECT_EQ(recorder->LiveObjects().size(), 1u); // the device: Reset let go of the depth surface
    EXPECT_EQ(device->State().depthStencil, nullptr);
    EXPECT_EQ(device->State().renderTargets[0], &device->BackBuffer());
    EXPECT_EQ(device->BackBuffer().Desc().Width, 1280u);
    EXPECT_EQ(device->State().viewport.Height, 720u);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 255, 0), 1.0f, 0), D3D_OK);
    EXPECT_FLOAT_EQ(recorder->Pixel(device->BackBuffer(), 1279, 719)[1], 1.0f);
}

TEST_F(FailureInjectionTest, AFailedResetLeavesTheDeviceWaitingForAnother)
{
    recorder->FailCall(Op::Reset, 0, D3DERR_DEVICELOST);
    EXPECT_EQ(Reset(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->BeginScene(), D3DERR_DEVICELOST);
    EXPECT_EQ(Present(), D3DERR_DEVICELOST);
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(48, 0, 0, D3DPOOL_DEFAULT, &buffer, nullptr), D3DERR_DEVICELOST);

    ASSERT_EQ(Reset(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(Present(), D3D_OK);
}

TEST_F(FailureInjectionTest, TheRecorderChecksADrawAgainstItsData)
{
    const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                          {1, 0, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                          D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    IDirect3DVertexBuffer9* positions = MakeVertexBuffer(8 * 12); // two quads
    IDirect3DVertexBuffer9* coordinates = MakeVertexBuffer(4 * 8); // one quad only
    IDirect3DIndexBuffer9* indices = MakeIndexBuffer(12 * 4);
    void* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    const uint32_t quads[] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    std::memcpy(data, quads, sizeof quads);
    ASSERT_EQ(indices->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetVertexDeclaration(declaration), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, positions, 0, 12), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(1, coordinates, 0, 8), D3D_OK);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);

    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    // Indices 4..7 lie outside the declared 4 vertices, and past the coordinates buffer.
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 0, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 4u);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    ReleaseAll(indices, coordinates, positions, declaration);
}

} // namespace
