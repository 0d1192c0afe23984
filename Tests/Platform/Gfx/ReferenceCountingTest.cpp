// Reference counting of the Direct3D-shaped objects: what keeps what alive, and that releasing
// everything leaves nothing behind.
#include "Gfx/RecorderFixture.h"

namespace {

class ReferenceCountingTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(); }

    size_t Alive(ObjectKind kind) const
    {
        size_t count = 0;
        for (const LiveObject& object : recorder->LiveObjects()) {
            count += object.kind == kind;
        }
        return count;
    }
};

TEST_F(ReferenceCountingTest, AddRefAndReleaseReportTheCallersReferences)
{
    IDirect3DTexture9* texture = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(Alive(ObjectKind::Texture), 0u);
}

TEST_F(ReferenceCountingTest, ReleasingEverythingLeavesNothingAlive)
{
    IDirect3DTexture9* texture = MakeTexture(16, 16, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    IDirect3DSurface9* depth = MakeDepthSurface(64, 64);
    EXPECT_EQ(recorder->LiveObjects().size(), 4u); // device, texture, buffer, depth surface

    texture->Release();
    buffer->Release();
    depth->Release();
    ReleaseDevice();

    EXPECT_TRUE(recorder->LiveObjects().empty());
    EXPECT_EQ(recorder->Direct3DObjectsAlive(), 0u);
}

TEST_F(ReferenceCountingTest, AResourceKeepsItsDeviceAlive)
{
    IDirect3DTexture9* texture = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    EXPECT_EQ(device->Release(), 1u);
    device = nullptr;
    EXPECT_EQ(Alive(ObjectKind::Device), 1u);

    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(texture->GetDevice(&owner), D3D_OK);
    owner->Release();
    texture->Release();
    EXPECT_TRUE(recorder->LiveObjects().empty());
}

TEST_F(ReferenceCountingTest, AHeldLevelSurfaceKeepsItsTextureAlive)
{
    IDirect3DTexture9* texture = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    IDirect3DSurface9* level = Level0(texture);
    EXPECT_EQ(texture->Release(), 1u);
    ASSERT_EQ(Alive(ObjectKind::Texture), 1u);

    D3DSURFACE_DESC desc;
    EXPECT_EQ(level->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(level->Release(), 0u);
    EXPECT_EQ(Alive(ObjectKind::Texture), 0u);
}

TEST_F(ReferenceCountingTest, ABoundObjectLivesUntilItIsUnbound)
{
    IDirect3DTexture9* texture = MakeTexture(800, 600, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* level = Level0(texture);
    ASSERT_EQ(device->SetRenderTarget(1, level), D3D_OK);
    level->Release();
    texture->Release();

    const std::vector<LiveObject> live = recorder->LiveObjects();
    ASSERT_EQ(Alive(ObjectKind::Texture), 1u);
    EXPECT_EQ(live.back().callerReferences, 0u);

    ASSERT_EQ(device->SetRenderTarget(1, nullptr), D3D_OK);
    EXPECT_EQ(Alive(ObjectKind::Texture), 0u);
}

TEST_F(ReferenceCountingTest, RebindingTheBoundObjectKeepsIt)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, 12), D3D_OK);
    buffer->Release();
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, 12), D3D_OK);
    EXPECT_EQ(Alive(ObjectKind::VertexBuffer), 1u);
}

TEST_F(ReferenceCountingTest, ReleasingTheDeviceFreesWhatOnlyItHeld)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    IDirect3DSurface9* depth = MakeDepthSurface(64, 64);
    ASSERT_EQ(device->SetStreamSource(3, buffer, 0, 12), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    buffer->Release();
    depth->Release();

    ReleaseDevice();
    EXPECT_TRUE(recorder->LiveObjects().empty());
}

TEST_F(ReferenceCountingTest, GettersHandOutReferences)
{
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    EXPECT_EQ(backBuffer->Desc().Width, 800u);
    EXPECT_EQ(backBuffer->CallerReferences(), 1u);
    backBuffer->Release();
    EXPECT_EQ(backBuffer->CallerReferences(), 0u);

    IDirect3DSurface9* missing = backBuffer;
    EXPECT_EQ(device->GetRenderTarget(1, &missing), D3DERR_NOTFOUND);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(device->GetDepthStencilSurface(&missing), D3DERR_NOTFOUND);
}

} // namespace
