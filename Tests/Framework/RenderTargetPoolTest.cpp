#include "Support/ShowFixture.h"

#include "Framework/RenderTargetResources/RTCubeHandler/RTCubeHandler.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"

class RenderTargetPoolTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        MountShow();
        framework = MakeFramework();
        framework->settings.multiSampleType = 0;
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
        texturesBefore = recorder->Count(Op::CreateTexture); // the device resources' own
    }

    size_t TexturesCreated() const { return recorder->Count(Op::CreateTexture) - texturesBefore; }
    void TearDown() override
    {
        framework.reset();
        ShowFixture::TearDown();
    }

    std::unique_ptr<DXFramework> framework;
    size_t texturesBefore = 0;
};

TEST_F(RenderTargetPoolTest, HeldTargetsAreNeverSharedAndFreeOnesAreReusedByExactKey)
{
    const RenderTargetDesc color{D3DFMT_A8R8G8B8, 1280, 720};
    EXPECT_EQ(RTHandler::Acquire(color), 0u);
    EXPECT_EQ(RTHandler::Acquire(color), 1u);
    EXPECT_EQ(TexturesCreated(), 2u);

    RTHandler::Release(1);
    EXPECT_EQ(RTHandler::Acquire(color), 1u);
    EXPECT_EQ(TexturesCreated(), 2u);

    RTHandler::Release(0);
    EXPECT_EQ(RTHandler::Acquire({D3DFMT_R32F, 1280, 720}), 2u) << "another format is another key";
    EXPECT_EQ(RTHandler::Acquire({D3DFMT_A8R8G8B8, 1280, 360}), 3u) << "another size is another key";
    RTHandler::Release(0);
    RTHandler::Release(0);
    EXPECT_EQ(RTHandler::GetTarget(0).useCount, 0u);

    const auto& created = recorder->Call<Op::CreateTexture>(texturesBefore);
    EXPECT_EQ(created.Levels, 1u);
    EXPECT_EQ(created.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    EXPECT_EQ(created.Pool, D3DPOOL_DEFAULT);
    EXPECT_THROW(RTHandler::GetTarget(99), FrameworkEx);
}

TEST_F(RenderTargetPoolTest, BindingUsesOneSlotAndTheFrameworksDepthSurface)
{
    const uint32_t index = RTHandler::Acquire({D3DFMT_G16R16F, 400, 225});
    IDirect3DSurface9* before[4];
    for (DWORD slot = 0; slot < 4; ++slot) {
        DXFramework::device->GetRenderTarget(slot, &before[slot]);
        if (before[slot])
            before[slot]->Release();
    }
    RTHandler::BindTarget(2, RTHandler::GetTarget(index));
    const DeviceState& state = DXFramework::device->State();
    EXPECT_EQ(state.renderTargets[2], RTHandler::GetTarget(index).surface);
    EXPECT_EQ(state.renderTargets[0], before[0]);
    EXPECT_EQ(state.renderTargets[1], before[1]);
    EXPECT_EQ(state.renderTargets[3], before[3]);
    EXPECT_EQ(state.depthStencil, framework->depthSurface);
}

TEST_F(RenderTargetPoolTest, CubeTargetsHoldSixFacesAndAreNotShared)
{
    const CubeTargetDesc cube{D3DFMT_X8R8G8B8, 512};
    EXPECT_EQ(RTCubeHandler::Acquire(cube), 0u);
    EXPECT_EQ(RTCubeHandler::Acquire(cube), 1u);
    EXPECT_EQ(recorder->Count(Op::CreateCubeTexture), 2u);
    const CubeTargetEntry& entry = RTCubeHandler::GetTarget(1);
    for (uint32_t face = 0; face < 6; ++face) {
        ASSERT_NE(entry.faces[face], nullptr);
        RTCubeHandler::BindCubeFace(face, entry);
        EXPECT_EQ(DXFramework::device->State().renderTargets[0], entry.faces[face]);
    }
    RTCubeHandler::Release(1);
    EXPECT_EQ(RTCubeHandler::Acquire(cube), 1u);
}

TEST_F(RenderTargetPoolTest, TargetsSurviveADeviceResetBehindTheirIndicesAndFree)
{
    const uint32_t held = RTHandler::Acquire({D3DFMT_A8R8G8B8, 256, 144});
    const uint32_t cube = RTCubeHandler::Acquire({D3DFMT_X8R8G8B8, 512});
    framework->ResetDevice();
    EXPECT_EQ(recorder->Count(Op::Reset), 1u);
    EXPECT_EQ(TexturesCreated(), 3u) << "the texture was made again, and so were the noise vectors";
    EXPECT_NE(RTHandler::GetTarget(held).surface, nullptr);
    EXPECT_NE(RTCubeHandler::GetTarget(cube).faces[5], nullptr);
    EXPECT_EQ(recorder->Count(Op::CreateCubeTexture), 2u);

    // The scene that held them when the device was lost asks again after the reset: the same
    // entries, not new ones beside holds that nobody would ever give back.
    EXPECT_EQ(RTHandler::Acquire({D3DFMT_A8R8G8B8, 256, 144}), held);
    EXPECT_EQ(RTCubeHandler::Acquire({D3DFMT_X8R8G8B8, 512}), cube);
    EXPECT_EQ(TexturesCreated(), 3u);
    EXPECT_EQ(recorder->Count(Op::CreateCubeTexture), 2u);
}

TEST_F(RenderTargetPoolTest, FailedCreationNamesThePoolsSourceAndLine)
{
    recorder->FailCall(Op::CreateTexture, texturesBefore, D3DERR_OUTOFVIDEOMEMORY);
    try {
        RTHandler::Acquire({D3DFMT_A32B32G32R32F, 64, 64});
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "Error: D3DERR_OUTOFVIDEOMEMORY\n\n"
                             ".\\Source\\Framework\\RenderTargetResources\\RTHandler\\RTHandler.cpp : 59");
    }
    EXPECT_EQ(RTHandler::Count(), 0u) << "no half-made entry joins the pool";
}
