// The GL backend's frame: letterbox clears through viewports, presentation with and without
// multisampling, the origin of viewports, render target copies and Reset, read back as pixels.
#include "Platform/Gfx/GLDeviceFixture.h"

namespace {

constexpr D3DCOLOR kPicture = D3DCOLOR_XRGB(40, 96, 215);
constexpr D3DCOLOR kTopBar = D3DCOLOR_XRGB(255, 0, 0);
constexpr D3DCOLOR kBottomBar = D3DCOLOR_XRGB(0, 0, 255);
constexpr D3DCOLOR kRed = D3DCOLOR_XRGB(255, 0, 0);
constexpr D3DCOLOR kGreen = D3DCOLOR_XRGB(0, 255, 0);
constexpr D3DCOLOR kGrey = D3DCOLOR_XRGB(128, 128, 128);

class GLFrameTest : public GLDeviceFixture, public ::testing::WithParamInterface<D3DMULTISAMPLE_TYPE> {
protected:
    // The framework's frame: an 800 x 450 picture in an 800 x 600 back buffer, bars of 75 lines.
    // The bars get colours of their own here, so that a flipped picture shows.
    void DrawLetterboxFrame()
    {
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        ClearRect(0, 75, 800, 450, kPicture);
        ClearRect(0, 0, 800, 75, kTopBar);
        ClearRect(0, 525, 800, 75, kBottomBar);
        ASSERT_EQ(device->EndScene(), D3D_OK);
    }
};

TEST_P(GLFrameTest, LetterboxClearsFillThePictureAndTheBarsWhereDirect3DPutsThem)
{
    CreateDevice(800, 600, GetParam());
    DrawLetterboxFrame();
    const GLImage frame = GLReadBackBuffer(*device);
    ASSERT_EQ(frame.width, 800u);
    ASSERT_EQ(frame.height, 600u);
    EXPECT_EQ(PixelAt(frame, 0, 0), kTopBar);
    EXPECT_EQ(PixelAt(frame, 799, 74), kTopBar);
    EXPECT_EQ(PixelAt(frame, 0, 75), kPicture);
    EXPECT_EQ(PixelAt(frame, 400, 300), kPicture);
    EXPECT_EQ(PixelAt(frame, 799, 524), kPicture);
    EXPECT_EQ(PixelAt(frame, 0, 525), kBottomBar);
    EXPECT_EQ(PixelAt(frame, 799, 599), kBottomBar);
    SavePng(frame, GetParam() == D3DMULTISAMPLE_NONE ? "gl-letterbox.png" : "gl-letterbox-4x.png");
    for (int frameNumber = 0; frameNumber < 3; ++frameNumber) {
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    }
}

TEST_P(GLFrameTest, RenderTargetCopiedIntoTheBackBufferKeepsItsOrientation)
{
    CreateDevice(320, 240, GetParam());
    IDirect3DSurface9* target = RenderTarget(64, 32);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    ClearRect(0, 0, 64, 16, kRed);
    ClearRect(0, 16, 64, 16, kGreen);
    ASSERT_EQ(device->SetRenderTarget(0, &device->BackBuffer()), D3D_OK);
    ClearRect(0, 0, 320, 240, kGrey);

    const RECT twice{100, 50, 228, 114};
    ASSERT_EQ(device->StretchRect(target, nullptr, &device->BackBuffer(), &twice, D3DTEXF_POINT), D3D_OK);
    const GLImage frame = GLReadBackBuffer(*device);
    EXPECT_EQ(PixelAt(frame, 100, 50), kRed);
    EXPECT_EQ(PixelAt(frame, 227, 81), kRed);
    EXPECT_EQ(PixelAt(frame, 100, 82), kGreen);
    EXPECT_EQ(PixelAt(frame, 227, 113), kGreen);
    EXPECT_EQ(PixelAt(frame, 99, 50), kGrey);
    EXPECT_EQ(PixelAt(frame, 228, 113), kGrey);
    EXPECT_EQ(PixelAt(frame, 100, 114), kGrey);

    // And back, shrunk: a multisampled back buffer is resolved before it is scaled.
    const RECT source{100, 50, 228, 114};
    ASSERT_EQ(device->StretchRect(&device->BackBuffer(), &source, target, nullptr, D3DTEXF_LINEAR), D3D_OK);
    const GLImage copied = GLReadSurface(*target);
    EXPECT_EQ(PixelAt(copied, 10, 2), D3DCOLOR_ARGB(255, 255, 0, 0));
    EXPECT_EQ(PixelAt(copied, 50, 29), D3DCOLOR_ARGB(255, 0, 255, 0));
}

INSTANTIATE_TEST_SUITE_P(Samples, GLFrameTest, ::testing::Values(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES),
                         [](const auto& info) { return info.param == D3DMULTISAMPLE_NONE ? "Single" : "FourSamples"; });

class GLTargetTest : public GLDeviceFixture {};

TEST_F(GLTargetTest, ViewportAtTheTopOfATargetLandsInTheTopRowsOfTheImage)
{
    CreateDevice(64, 64);
    IDirect3DSurface9* target = RenderTarget(40, 30);
    ASSERT_EQ(device->SetRenderTarget(0, target), D3D_OK);
    ClearRect(0, 0, 40, 30, kGrey);
    ClearRect(5, 0, 10, 4, kGreen);
    const GLImage image = GLReadSurface(*target);
    EXPECT_EQ(PixelAt(image, 5, 0), kGreen);
    EXPECT_EQ(PixelAt(image, 14, 3), kGreen);
    EXPECT_EQ(PixelAt(image, 5, 4), kGrey);
    EXPECT_EQ(PixelAt(image, 15, 0), kGrey);
    EXPECT_EQ(PixelAt(image, 5, 29), kGrey);
}

TEST_F(GLTargetTest, ClearRectanglesAreCutToTheViewport)
{
    CreateDevice(64, 64);
    ClearRect(0, 0, 64, 64, kGrey);
    const D3DVIEWPORT9 viewport{10, 10, 20, 20, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    const D3DRECT rects[] = {{0, 0, 15, 15}, {25, 25, 64, 64}};
    ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3D_OK);
    const GLImage image = GLReadBackBuffer(*device);
    EXPECT_EQ(PixelAt(image, 9, 9), kGrey);
    EXPECT_EQ(PixelAt(image, 10, 10), kRed);
    EXPECT_EQ(PixelAt(image, 14, 14), kRed);
    EXPECT_EQ(PixelAt(image, 15, 15), kGrey);
    EXPECT_EQ(PixelAt(image, 29, 29), kRed);
    EXPECT_EQ(PixelAt(image, 30, 30), kGrey);
}

TEST_F(GLTargetTest, ResetGivesTheBackBufferItsNewSizeAndSampleCount)
{
    CreateDevice(128, 96);
    D3DPRESENT_PARAMETERS parameters = Parameters(200, 100, D3DMULTISAMPLE_4_SAMPLES);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    ClearRect(0, 0, 200, 50, kRed);
    ClearRect(0, 50, 200, 50, kGreen);
    const GLImage image = GLReadBackBuffer(*device);
    ASSERT_EQ(image.width, 200u);
    ASSERT_EQ(image.height, 100u);
    EXPECT_EQ(PixelAt(image, 199, 49), kRed);
    EXPECT_EQ(PixelAt(image, 0, 50), kGreen);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// A multisampled back buffer beside a single-sampled target is no framebuffer GL completes: the
// clear that would use it is refused, naming GL's status and the slot at fault, and the next one
// after the targets are mended draws.
TEST_F(GLTargetTest, AnIncompleteFramebufferRefusesTheCallAndNamesTheAttachmentAtFault)
{
    CreateDevice(64, 48, D3DMULTISAMPLE_4_SAMPLES);
    IDirect3DSurface9* single = RenderTarget(64, 48);
    ASSERT_EQ(device->SetRenderTarget(1, single), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0), D3DERR_INVALIDCALL);
    ASSERT_TRUE(device->LastRefusal());
    const FrontRefusal& refusal = *device->LastRefusal();
    EXPECT_EQ(refusal.op, Op::Clear);
    EXPECT_EQ(refusal.check, FrontCheck::IncompleteFramebuffer);
    EXPECT_EQ(refusal.detail, "GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE: colour slot 1 (D3DFMT_A8R8G8B8, 64 x 48, "
                              "single-sampled) is at fault; attached: colour slot 0 (D3DFMT_X8R8G8B8, 64 x 48, "
                              "4 samples), colour slot 1 (D3DFMT_A8R8G8B8, 64 x 48, single-sampled)");

    ASSERT_EQ(device->SetRenderTarget(1, nullptr), D3D_OK);
    ClearRect(0, 0, 64, 48, kGreen);
    EXPECT_EQ(PixelAt(GLReadBackBuffer(*device), 63, 47), kGreen);
}

} // namespace
