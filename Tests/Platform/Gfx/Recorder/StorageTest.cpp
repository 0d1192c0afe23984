// The Recorder keeps real bytes: locks hand them out with their pitches, clears fill them inside
// the viewport, StretchRect copies and converts them.
#include <cmath>
#include <cstring>

#include "Gfx/RecorderFixture.h"
#include "Platform/Gfx/Recorder/detail/Half.h"

namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;

class StorageTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(WindowedParameters(8, 6)); }

    // Writes colour(x, y) into every pixel of an A8R8G8B8 surface through a lock.
    template <class Colour>
    void Paint(IDirect3DTexture9* texture, UINT width, UINT height, Colour colour)
    {
        D3DLOCKED_RECT locked;
        Check(texture->LockRect(0, &locked, nullptr, 0), "LockRect");
        for (UINT y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < width; ++x) {
                row[x] = colour(x, y);
            }
        }
        Check(texture->UnlockRect(0), "UnlockRect");
    }
};

TEST_F(StorageTest, LockedBytesAreTheSurfacesBytes)
{
    IDirect3DTexture9* texture = MakeTexture(4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    Paint(texture, 4, 2, [](UINT x, UINT y) { return D3DCOLOR_ARGB(255, 10 * x, 100 + y, 0); });

    IDirect3DSurface9* level = Level0(texture);
    const Rgba pixel = recorder->Pixel(*level, 3, 1);
    EXPECT_FLOAT_EQ(pixel[0], 30 / 255.0f);
    EXPECT_FLOAT_EQ(pixel[1], 101 / 255.0f);
    // Memory order of A8R8G8B8 is B, G, R, A.
    const std::vector<BYTE> bytes = recorder->SurfaceBytes(*level);
    ASSERT_EQ(bytes.size(), 4u * 2u * 4u);
    EXPECT_THAT(std::vector<BYTE>(bytes.begin() + 4, bytes.begin() + 8), ElementsAre(0, 100, 10, 255));
    ReleaseAll(level, texture);
}

TEST_F(StorageTest, APaddedPitchKeepsRowsApart)
{
    recorder->Config().rowPitchAlignment = 64;
    IDirect3DTexture9* texture = MakeTexture(4, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 64);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    Paint(texture, 4, 3, [](UINT x, UINT y) { return D3DCOLOR_XRGB(x, y, 0); });
    IDirect3DSurface9* level = Level0(texture);
    EXPECT_FLOAT_EQ(recorder->Pixel(*level, 2, 2)[1], 2 / 255.0f);
    EXPECT_EQ(recorder->SurfaceBytes(*level).size(), 4u * 3u * 4u);
    ReleaseAll(level, texture);
}

TEST_F(StorageTest, ALockedRectangleStartsAtItsCorner)
{
    IDirect3DTexture9* texture = MakeTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    const RECT corner{1, 2, 3, 4};
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, &corner, 0), D3D_OK);
    *static_cast<D3DCOLOR*>(locked.pBits) = D3DCOLOR_ARGB(255, 255, 0, 0);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    IDirect3DSurface9* level = Level0(texture);
    EXPECT_FLOAT_EQ(recorder->Pixel(*level, 1, 2)[0], 1.0f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*level, 0, 0)[0], 0.0f);
    ReleaseAll(level, texture);
}

TEST_F(StorageTest, MipLevelsHaveTheirOwnSizes)
{
    IDirect3DTexture9* texture = MakeTexture(8, 4, 0, D3DFMT_R32F, D3DPOOL_MANAGED, 0);
    ASSERT_EQ(texture->GetLevelCount(), 4u);
    const UINT widths[] = {8, 4, 2, 1};
    const UINT heights[] = {4, 2, 1, 1};
    for (UINT level = 0; level < 4; ++level) {
        D3DSURFACE_DESC desc;
        ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, widths[level]);
        EXPECT_EQ(desc.Height, heights[level]);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        EXPECT_EQ(locked.Pitch, static_cast<INT>(4 * widths[level]));
        ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    texture->Release();
}

// The noise volume: 8-bit luminance, dynamic, default pool, locked as a whole box.
TEST_F(StorageTest, AVolumeIsLockedAsRowsAndSlices)
{
    recorder->Config().rowPitchAlignment = 16;
    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(device->CreateVolumeTexture(6, 4, 3, 1, D3DUSAGE_DYNAMIC, D3DFMT_L8, D3DPOOL_DEFAULT, &volume, nullptr),
              D3D_OK);
    D3DLOCKED_BOX box;
    ASSERT_EQ(volume->LockBox(0, &box, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(box.RowPitch, 16);
    EXPECT_EQ(box.SlicePitch, 64);
    for (UINT z = 0; z < 3; ++z) {
        for (UINT y = 0; y < 4; ++y) {
            for (UINT x = 0; x < 6; ++x) {
                static_cast<BYTE*>(box.pBits)[z * box.SlicePitch + y * box.RowPitch + x] =
                    static_cast<BYTE>(x + 6 * y + 24 * z);
            }
        }
    }
    ASSERT_EQ(volume->UnlockBox(0), D3D_OK);

    IDirect3DVolume9* level = nullptr;
    ASSERT_EQ(volume->GetVolumeLevel(0, &level), D3D_OK);
    const std::vector<BYTE> bytes = recorder->VolumeBytes(*level);
    ASSERT_EQ(bytes.size(), 72u);
    for (size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i], i) << "voxel " << i;
    }
    ReleaseAll(level, volume);
}

// The noise vectors: four 16-bit floats per texel, R first in memory.
TEST_F(StorageTest, HalfFloatTexelsReadBackAsWritten)
{
    IDirect3DTexture9* texture = MakeTexture(3, 2, D3DUSAGE_DYNAMIC, D3DFMT_A16B16G16R16F, D3DPOOL_DEFAULT);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(locked.Pitch, 24);
    const uint16_t texel[] = {FloatToHalf(0.5f), FloatToHalf(-1.0f), FloatToHalf(0.25f), FloatToHalf(0.0f)};
    std::memcpy(static_cast<BYTE*>(locked.pBits) + locked.Pitch + 8, texel, sizeof texel);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    IDirect3DSurface9* level = Level0(texture);
    EXPECT_THAT(recorder->Pixel(*level, 1, 1), ElementsAre(0.5f, -1.0f, 0.25f, 0.0f));
    ReleaseAll(level, texture);
}

TEST_F(StorageTest, HalfFloatConversionRoundsToNearestEven)
{
    EXPECT_EQ(FloatToHalf(1.0f), 0x3C00);
    EXPECT_EQ(FloatToHalf(-2.0f), 0xC000);
    EXPECT_EQ(FloatToHalf(65504.0f), 0x7BFF);
    EXPECT_EQ(FloatToHalf(65520.0f), 0x7C00); // rounds up to infinity
    EXPECT_EQ(FloatToHalf(0.1f), 0x2E66);
    EXPECT_EQ(FloatToHalf(1.0f + 1.0f / 2048), 0x3C00); // a tie goes to the even mantissa
    EXPECT_EQ(FloatToHalf(1.0f + 3.0f / 2048), 0x3C02);
    EXPECT_EQ(FloatToHalf(5.9604645e-8f), 0x0001); // the smallest subnormal
    EXPECT_EQ(FloatToHalf(1e-9f), 0x0000);
    EXPECT_FLOAT_EQ(HalfToFloat(0x0001), 5.9604645e-8f);
    EXPECT_FLOAT_EQ(HalfToFloat(0x3555), 0.33325195f);
    EXPECT_TRUE(std::isnan(HalfToFloat(FloatToHalf(std::nanf("")))));
}

TEST_F(StorageTest, DiscardingLosesTheOldContents)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(16);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memset(data, 0x11, 16);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(buffer->Lock(8, 4, &data, 0), D3D_OK);
    EXPECT_EQ(*static_cast<BYTE*>(data), 0x11);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);

    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_NE(*static_cast<BYTE*>(data), 0x11);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    buffer->Release();
}

TEST_F(StorageTest, AnImageTooLargeToHoldIsOutOfMemory)
{
    recorder->Config().caps.MaxTextureWidth = 1u << 20;
    recorder->Config().caps.MaxTextureHeight = 1u << 20;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(1u << 16, 1u << 16, 1, 0, D3DFMT_A32B32G32R32F, D3DPOOL_MANAGED, &texture, nullptr),
              E_OUTOFMEMORY);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(recorder->LiveObjects().size(), 1u); // the device
}

// The letterbox: a clear covers the viewport only.
TEST_F(StorageTest, AClearFillsTheViewport)
{
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 255, 255), 1.0f, 0), D3D_OK);
    const D3DVIEWPORT9 picture{0, 1, 8, 4, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&picture), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0), D3D_OK);

    const IDirect3DSurface9& backBuffer = device->BackBuffer();
    EXPECT_THAT(recorder->Pixel(backBuffer, 0, 0), ElementsAre(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_THAT(recorder->Pixel(backBuffer, 7, 1), ElementsAre(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_THAT(recorder->Pixel(backBuffer, 0, 4), ElementsAre(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_THAT(recorder->Pixel(backBuffer, 3, 5), ElementsAre(1.0f, 1.0f, 1.0f, 1.0f));

    const D3DRECT rect{6, 0, 20, 2};
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 0), 1.0f, 0), D3D_OK);
    EXPECT_THAT(recorder->Pixel(backBuffer, 7, 1), ElementsAre(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_THAT(recorder->Pixel(backBuffer, 7, 0), ElementsAre(1.0f, 1.0f, 1.0f, 1.0f)); // outside the viewport
    EXPECT_THAT(recorder->Pixel(backBuffer, 5, 1), ElementsAre(0.0f, 0.0f, 1.0f, 1.0f));
}

TEST_F(StorageTest, DepthAndStencilClearSeparately)
{
    IDirect3DSurface9* depth = MakeDepthSurface(16, 16);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 0.5f, 7), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 9), D3D_OK);

    EXPECT_NEAR(recorder->Depth(*depth, 3, 3), 0.5f, 1e-6f);
    EXPECT_EQ(recorder->Stencil(*depth, 3, 3), 9u);
    EXPECT_EQ(recorder->Stencil(*depth, 8, 8), 0u); // beyond the 8 x 6 viewport
    depth->Release();
}

class StretchRectTest : public StorageTest {
protected:
    IDirect3DSurface9* Target(UINT width, UINT height, D3DFORMAT format)
    {
        IDirect3DTexture9* texture = MakeTexture(width, height, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT);
        IDirect3DSurface9* surface = Level0(texture);
        texture->Release();
        return surface;
    }

    // Clears each row of the back buffer to its own grey.
    void PaintBackBufferRows()
    {
        for (DWORD y = 0; y < 6; ++y) {
            const D3DRECT row{0, static_cast<LONG>(y), 8, static_cast<LONG>(y + 1)};
            Check(device->Clear(1, &row, D3DCLEAR_TARGET, D3DCOLOR_XRGB(40 * y, 40 * y, 40 * y), 1.0f, 0), "Clear");
        }
    }
};

// The show's picture copy: the letterboxed rows of the back buffer into a target of their size.
TEST_F(StretchRectTest, CopiesARectangleAcrossFormats)
{
    PaintBackBufferRows();
    IDirect3DSurface9* target = Target(8, 4, D3DFMT_A8R8G8B8);
    const RECT picture{0, 1, 8, 5};
    ASSERT_EQ(device->StretchRect(&device->BackBuffer(), &picture, target, nullptr, D3DTEXF_POINT), D3D_OK);

    for (UINT y = 0; y < 4; ++y) {
        const float grey = 40 * (y + 1) / 255.0f;
        EXPECT_THAT(recorder->Pixel(*target, 5, y), ElementsAre(grey, grey, grey, 1.0f)) << "row " << y;
    }
    target->Release();
}

TEST_F(StretchRectTest, PointFilteringTakesThePixelUnderEachCentre)
{
    PaintBackBufferRows();
    IDirect3DSurface9* target = Target(4, 3, D3DFMT_X8R8G8B8);
    ASSERT_EQ(device->StretchRect(&device->BackBuffer(), nullptr, target, nullptr, D3DTEXF_POINT), D3D_OK);
    // Destination rows 0, 1, 2 sample source rows 1, 3, 5.
    EXPECT_FLOAT_EQ(recorder->Pixel(*target, 0, 0)[0], 40 / 255.0f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*target, 3, 1)[0], 120 / 255.0f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*target, 2, 2)[0], 200 / 255.0f);
    target->Release();
}

TEST_F(StretchRectTest, LinearFilteringBlendsNeighbours)
{
    IDirect3DSurface9* source = Target(2, 1, D3DFMT_R32F);
    IDirect3DSurface9* wide = Target(4, 1, D3DFMT_R32F);
    ASSERT_EQ(device->SetRenderTarget(0, source), D3D_OK);
    const D3DRECT right{1, 0, 2, 1};
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Clear(1, &right, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 0), 1.0f, 0), D3D_OK);

    ASSERT_EQ(device->StretchRect(source, nullptr, wide, nullptr, D3DTEXF_LINEAR), D3D_OK);
    EXPECT_FLOAT_EQ(recorder->Pixel(*wide, 0, 0)[0], 0.0f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*wide, 1, 0)[0], 0.25f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*wide, 2, 0)[0], 0.75f);
    EXPECT_FLOAT_EQ(recorder->Pixel(*wide, 3, 0)[0], 1.0f);
    ReleaseAll(wide, source);
}

TEST_F(StretchRectTest, RefusesWhatDirect3DRefuses)
{
    IDirect3DSurface9* target = Target(8, 6, D3DFMT_A8R8G8B8);
    IDirect3DSurface9* depth = MakeDepthSurface(8, 6);
    const RECT outside{0, 0, 9, 6};
    EXPECT_EQ(device->StretchRect(target, &outside, &device->BackBuffer(), nullptr, D3DTEXF_NONE),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->StretchRect(target, nullptr, target, nullptr, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->StretchRect(depth, nullptr, target, nullptr, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->StretchRect(target, nullptr, &device->BackBuffer(), nullptr, D3DTEXF_ANISOTROPIC),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::StretchRect), 0u);
    ReleaseAll(depth, target);
}

// What a capture reads: A8R8G8B8's bytes, blue first, top row first, from any colour target.
TEST_F(StretchRectTest, ARenderTargetReadsBackAsBgraTopRowFirst)
{
    PaintBackBufferRows();
    const D3DRECT corner{7, 5, 8, 6};
    ASSERT_EQ(device->Clear(1, &corner, D3DCLEAR_TARGET, D3DCOLOR_ARGB(0, 10, 20, 30), 1.0f, 0), D3D_OK);
    ReadBackImage image;
    ASSERT_EQ(device->ReadRenderTarget(&device->BackBuffer(), &image), D3D_OK);
    ASSERT_EQ(image.width, 8u);
    ASSERT_EQ(image.height, 6u);
    ASSERT_EQ(image.bgra.size(), 8u * 6 * 4);
    EXPECT_THAT(std::vector<uint8_t>(image.bgra.begin() + 4 * 8 * 2, image.bgra.begin() + 4 * 8 * 2 + 4),
                ElementsAre(80, 80, 80, 255));
    EXPECT_THAT(std::vector<uint8_t>(image.bgra.end() - 4, image.bgra.end()), ElementsAre(30, 20, 10, 255))
        << "the back buffer has no alpha: it reads opaque";

    IDirect3DSurface9* half = Target(2, 1, D3DFMT_A16B16G16R16F);
    ASSERT_EQ(device->SetRenderTarget(0, half), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(128, 255, 0, 51), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->ReadRenderTarget(half, &image), D3D_OK);
    EXPECT_THAT(image.bgra, ElementsAre(51, 0, 255, 128, 51, 0, 255, 128));

    IDirect3DSurface9* depth = MakeDepthSurface(8, 6);
    EXPECT_EQ(device->ReadRenderTarget(depth, &image), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->LastRefusal()->check, FrontCheck::NotRenderTarget);
    EXPECT_EQ(device->ReadRenderTarget(nullptr, &image), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::ReadRenderTarget), 2u);
    ReleaseAll(depth, half);
}

} // namespace
