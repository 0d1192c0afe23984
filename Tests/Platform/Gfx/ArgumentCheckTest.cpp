// Arguments are checked once, in front of the backend: a bad one is answered with
// D3DERR_INVALIDCALL and never reaches the Recorder as its operation. Each refusal names its check:
// the device keeps it and the Recorder logs it as a Refused notice.
#include <cstring>
#include <vector>

#include "Gfx/RecorderFixture.h"

namespace {

class ArgumentCheckTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(); }
};

TEST_F(ArgumentCheckTest, RenderTargetSlotsAndSurfaces)
{
    IDirect3DTexture9* target = MakeTexture(800, 600, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* plain = MakeTexture(800, 600, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* targetSurface = Level0(target);
    IDirect3DSurface9* plainSurface = Level0(plain);
    IDirect3DSurface9* depth = MakeDepthSurface(800, 600);

    EXPECT_EQ(device->SetRenderTarget(4, targetSurface), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(1, plainSurface), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(2, depth), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetDepthStencilSurface(targetSurface), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::SetRenderTarget), 0u);
    EXPECT_EQ(recorder->Count(Op::SetDepthStencilSurface), 0u);

    EXPECT_EQ(device->SetRenderTarget(3, targetSurface), D3D_OK);
    EXPECT_EQ(recorder->Count(Op::SetRenderTarget), 1u);
    ReleaseAll(depth, plainSurface, targetSurface, plain, target);
}

TEST_F(ArgumentCheckTest, ObjectsOfAnotherDeviceAreRefused)
{
    IDirect3D9* otherDirect3d = CreateRecorderDirect3D(recorder);
    IDirect3DDevice9* other = nullptr;
    D3DPRESENT_PARAMETERS parameters = WindowedParameters(800, 600);
    ASSERT_EQ(otherDirect3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                          &parameters, &other),
              D3D_OK);
    IDirect3DSurface9* foreign = nullptr;
    ASSERT_EQ(other->GetRenderTarget(0, &foreign), D3D_OK);

    EXPECT_EQ(device->SetRenderTarget(0, foreign), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->StretchRect(foreign, nullptr, &device->BackBuffer(), nullptr, D3DTEXF_NONE),
              D3DERR_INVALIDCALL);
    ReleaseAll(foreign, other, otherDirect3d);
}

TEST_F(ArgumentCheckTest, ResourceDescriptions)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 6, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL); // a 16 x 16 chain has 5 levels
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                    nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_D24S8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    HANDLE shared = nullptr;
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, &shared),
              D3DERR_INVALIDCALL);

    IDirect3DVolumeTexture9* volume = nullptr;
    EXPECT_EQ(device->CreateVolumeTexture(8, 8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_L8, D3DPOOL_DEFAULT, &volume,
                                          nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateVolumeTexture(8, 8, 0, 1, D3DUSAGE_DYNAMIC, D3DFMT_L8, D3DPOOL_DEFAULT, &volume, nullptr),
              D3DERR_INVALIDCALL);
    IDirect3DSurface9* depth = nullptr;
    EXPECT_EQ(device->CreateDepthStencilSurface(64, 64, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, TRUE, &depth,
                                                nullptr),
              D3DERR_INVALIDCALL);
    IDirect3DVertexBuffer9* vertices = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, 0, D3DPOOL_DEFAULT, &vertices, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateVertexBuffer(48, D3DUSAGE_DYNAMIC, 0, D3DPOOL_MANAGED, &vertices, nullptr),
              D3DERR_INVALIDCALL);
    IDirect3DIndexBuffer9* indices = nullptr;
    EXPECT_EQ(device->CreateIndexBuffer(24, 0, D3DFMT_D16, D3DPOOL_DEFAULT, &indices, nullptr), D3DERR_INVALIDCALL);

    EXPECT_EQ(recorder->Count(Op::CreateTexture) + recorder->Count(Op::CreateVolumeTexture) +
                  recorder->Count(Op::CreateDepthStencilSurface) + recorder->Count(Op::CreateVertexBuffer) +
                  recorder->Count(Op::CreateIndexBuffer),
              0u);
    EXPECT_EQ(recorder->LiveObjects().size(), 1u); // the device
}

TEST_F(ArgumentCheckTest, LocksOfImages)
{
    IDirect3DTexture9* target = MakeTexture(16, 16, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* staticDefault = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DTexture9* managed = MakeTexture(16, 16, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0);
    D3DLOCKED_RECT locked;

    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(staticDefault->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->LockRect(5, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->LockRect(0, nullptr, nullptr, 0), D3DERR_INVALIDCALL);
    const RECT outside{8, 8, 17, 9};
    const RECT empty{4, 4, 4, 9};
    EXPECT_EQ(managed->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->LockRect(0, &locked, &empty, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->UnlockRect(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::LockRect) + recorder->Count(Op::UnlockRect), 0u);

    ASSERT_EQ(managed->LockRect(1, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(managed->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(managed->UnlockRect(1), D3D_OK);
    EXPECT_EQ(recorder->Count(Op::LockRect), 1u);

    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(device->CreateVolumeTexture(8, 8, 8, 1, 0, D3DFMT_L8, D3DPOOL_DEFAULT, &volume, nullptr), D3D_OK);
    D3DLOCKED_BOX box;
    EXPECT_EQ(volume->LockBox(0, &box, nullptr, 0), D3DERR_INVALIDCALL); // default pool without DYNAMIC
    ReleaseAll(volume, managed, staticDefault, target);
}

TEST_F(ArgumentCheckTest, LocksOfBuffers)
{
    IDirect3DVertexBuffer9* dynamic = MakeVertexBuffer(48);
    IDirect3DVertexBuffer9* fixed = MakeVertexBuffer(48, D3DUSAGE_WRITEONLY);
    void* data = nullptr;

    EXPECT_EQ(dynamic->Lock(48, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(dynamic->Lock(40, 12, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(dynamic->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(fixed->Lock(0, 0, &data, D3DLOCK_DISCARD), D3DERR_INVALIDCALL);
    EXPECT_EQ(fixed->Lock(0, 0, &data, D3DLOCK_NOOVERWRITE), D3DERR_INVALIDCALL);
    EXPECT_EQ(dynamic->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::LockVertexBuffer), 0u);

    ASSERT_EQ(dynamic->Lock(36, 0, &data, D3DLOCK_NOOVERWRITE), D3D_OK);
    EXPECT_EQ(dynamic->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(dynamic->Unlock(), D3D_OK);
    ReleaseAll(fixed, dynamic);
}

TEST_F(ArgumentCheckTest, ViewportsAndClears)
{
    D3DVIEWPORT9 viewport{0, 500, 800, 101, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&viewport), D3DERR_INVALIDCALL); // one row below the back buffer
    viewport = {0, 0, 0, 600, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&viewport), D3DERR_INVALIDCALL);
    viewport = {0, 0, 800, 600, 0.0f, 1.5f};
    EXPECT_EQ(device->SetViewport(&viewport), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetViewport(nullptr), D3DERR_INVALIDCALL);

    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL); // no depth surface
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    IDirect3DSurface9* depth16 = MakeDepthSurface(800, 600, D3DFMT_D16);
    ASSERT_EQ(device->SetDepthStencilSurface(depth16), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::SetViewport) + recorder->Count(Op::Clear), 0u);

    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    depth16->Release();
}

TEST_F(ArgumentCheckTest, ScenesAndPresent)
{
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    const RECT part{0, 0, 10, 10};
    EXPECT_EQ(device->Present(&part, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::Present), 0u);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(ArgumentCheckTest, VertexDeclarations)
{
    IDirect3DVertexDeclaration9* declaration = nullptr;
    const D3DVERTEXELEMENT9 repeated[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                          {1, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                          D3DDECL_END()};
    EXPECT_EQ(device->CreateVertexDeclaration(repeated, &declaration), D3DERR_INVALIDCALL);
    const D3DVERTEXELEMENT9 misaligned[] = {{0, 2, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    EXPECT_EQ(device->CreateVertexDeclaration(misaligned, &declaration), D3DERR_INVALIDCALL);
    const D3DVERTEXELEMENT9 badStream[] = {{16, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    EXPECT_EQ(device->CreateVertexDeclaration(badStream, &declaration), D3DERR_INVALIDCALL);
    // No end marker within the longest declaration: the check must stop, not read on.
    std::vector<D3DVERTEXELEMENT9> endless(MAXD3DDECLLENGTH + 1);
    for (UINT i = 0; i < endless.size(); ++i) {
        endless[i] = {0, static_cast<WORD>(4 * i), D3DDECLTYPE_FLOAT1, 0, D3DDECLUSAGE_TEXCOORD,
                      static_cast<BYTE>(i % 16)};
        endless[i].Usage = static_cast<BYTE>(i / 16);
    }
    EXPECT_EQ(device->CreateVertexDeclaration(endless.data(), &declaration), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::CreateVertexDeclaration), 0u);
}

class DrawCheckTest : public ArgumentCheckTest {
protected:
    void SetUp() override
    {
        ArgumentCheckTest::SetUp();
        const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                              D3DDECL_END()};
        Check(device->CreateVertexDeclaration(elements, &declaration), "CreateVertexDeclaration");
        vertices = MakeVertexBuffer(4 * 12);
        indices = MakeIndexBuffer(6 * 4);
        Check(device->SetVertexDeclaration(declaration), "SetVertexDeclaration");
        Check(device->SetStreamSource(0, vertices, 0, 12), "SetStreamSource");
        Check(device->SetIndices(indices), "SetIndices");
        void* data = nullptr;
        Check(indices->Lock(0, 0, &data, 0), "Lock");
        const uint32_t quad[] = {0, 1, 2, 0, 2, 3};
        std::memcpy(data, quad, sizeof quad);
        Check(indices->Unlock(), "Unlock");
        Check(device->BeginScene(), "BeginScene");
    }

    void TearDown() override { ReleaseAll(indices, vertices, declaration); }

    HRESULT DrawQuad() { return device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2); }

    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
};

TEST_F(DrawCheckTest, AValidDrawReachesTheBackend)
{
    EXPECT_EQ(DrawQuad(), D3D_OK);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 1u);
}

TEST_F(DrawCheckTest, DrawsOutsideAScene)
{
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 0u);
}

TEST_F(DrawCheckTest, DrawsWithALockedOrMissingBuffer)
{
    void* data = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    ASSERT_EQ(vertices->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetStreamSource(0, vertices, 0, 12), D3D_OK);
    ASSERT_EQ(device->SetVertexDeclaration(nullptr), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 0u);
}

TEST_F(DrawCheckTest, DrawsReadingPastTheIndices)
{
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 1, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_POINTLIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 0u);
}

TEST_F(DrawCheckTest, TargetsOfDifferentSizesOrASmallDepthSurface)
{
    IDirect3DTexture9* half = MakeTexture(400, 300, D3DUSAGE_RENDERTARGET, D3DFMT_G16R16F, D3DPOOL_DEFAULT);
    IDirect3DSurface9* halfSurface = Level0(half);
    ASSERT_EQ(device->SetRenderTarget(1, halfSurface), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderTarget(1, nullptr), D3D_OK);

    IDirect3DSurface9* smallDepth = MakeDepthSurface(512, 512);
    ASSERT_EQ(device->SetDepthStencilSurface(smallDepth), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderTarget(0, halfSurface), D3D_OK);
    EXPECT_EQ(DrawQuad(), D3D_OK); // 400 x 300 fits in 512 x 512
    ReleaseAll(smallDepth, halfSurface, half);
}


// Refusals name their check where a caller and a log can see it: the code answered, the device's
// last refusal and the Recorder's Refused notice agree; a getter's refusal stays with the device.
class RefusalTest : public DrawCheckTest {
protected:
    void ExpectRefused(HRESULT result, Op op, FrontCheck check)
    {
        EXPECT_EQ(result, FrontCheckResult(check));
        ASSERT_TRUE(device->LastRefusal());
        EXPECT_EQ(device->LastRefusal()->op, op);
        EXPECT_EQ(device->LastRefusal()->check, check) << FrontCheckName(device->LastRefusal()->check);
        ASSERT_EQ(recorder->Count(Op::Refused), ++notices);
        const auto& notice = recorder->Call<Op::Refused>(notices - 1);
        EXPECT_EQ(notice.Operation, op);
        EXPECT_EQ(notice.Check, check) << FrontCheckName(notice.Check);
    }

    size_t notices = 0;
};

#define EXPECT_REFUSED(call, op, check)   \
    {                                     \
        SCOPED_TRACE(#call);              \
        ExpectRefused((call), op, check); \
    }

TEST_F(RefusalTest, PointersObjectsSlotsAndLevels)
{
    IDirect3DTexture9* target = MakeTexture(800, 600, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* surface = Level0(target);
    EXPECT_REFUSED(device->SetRenderTarget(4, surface), Op::SetRenderTarget, FrontCheck::SlotOutOfRange);
    EXPECT_REFUSED(device->SetRenderTarget(0, nullptr), Op::SetRenderTarget, FrontCheck::RenderTargetZeroUnset);
    EXPECT_REFUSED(device->SetDepthStencilSurface(surface), Op::SetDepthStencilSurface, FrontCheck::NotDepthStencil);
    EXPECT_REFUSED(device->StretchRect(surface, nullptr, surface, nullptr, D3DTEXF_NONE), Op::StretchRect,
                   FrontCheck::SameSurface);
    EXPECT_REFUSED(target->LockRect(1, nullptr, nullptr, 0), Op::LockRect, FrontCheck::LevelOutOfRange);
    EXPECT_REFUSED(device->SetStreamSource(0, vertices, 48, 12), Op::SetStreamSource, FrontCheck::OutsideResource);

    IDirect3DSurface9* out = nullptr;
    EXPECT_EQ(target->GetSurfaceLevel(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_STREQ(device->LastRefusal()->call, "GetSurfaceLevel");
    EXPECT_FALSE(device->LastRefusal()->op) << "a getter is no operation";
    EXPECT_EQ(device->GetRenderTarget(7, &out), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->LastRefusal()->check, FrontCheck::SlotOutOfRange);
    EXPECT_EQ(recorder->Count(Op::Refused), notices) << "getters reach no backend";
    ReleaseAll(surface, target);
}

TEST_F(RefusalTest, ResourceDescriptionsAndLocks)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_REFUSED(device->CreateTexture(16, 16, 1, 0, static_cast<D3DFORMAT>(12345), D3DPOOL_MANAGED, &texture,
                                         nullptr),
                   Op::CreateTexture, FrontCheck::UnknownFormat);
    EXPECT_REFUSED(device->CreateTexture(16, 16, 6, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
                   Op::CreateTexture, FrontCheck::TooManyLevels);
    EXPECT_REFUSED(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                         nullptr),
                   Op::CreateTexture, FrontCheck::UsageConflict);
    EXPECT_REFUSED(device->CreateTexture(16, 16, 1, 0, D3DFMT_D24S8, D3DPOOL_DEFAULT, &texture, nullptr),
                   Op::CreateTexture, FrontCheck::FormatForUsage);
    IDirect3DIndexBuffer9* buffer = nullptr;
    EXPECT_REFUSED(device->CreateIndexBuffer(0, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &buffer, nullptr),
                   Op::CreateIndexBuffer, FrontCheck::ZeroSize);

    void* data = nullptr;
    EXPECT_REFUSED(vertices->Lock(0, 0, &data, D3DLOCK_DISCARD | D3DLOCK_READONLY), Op::LockVertexBuffer,
                   FrontCheck::LockFlags);
    EXPECT_REFUSED(vertices->Lock(40, 16, &data, 0), Op::LockVertexBuffer, FrontCheck::OutsideResource);
    EXPECT_REFUSED(vertices->Unlock(), Op::UnlockVertexBuffer, FrontCheck::NotLocked);
    ASSERT_EQ(vertices->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_REFUSED(vertices->Lock(0, 0, &data, 0), Op::LockVertexBuffer, FrontCheck::Locked);
    EXPECT_REFUSED(DrawQuad(), Op::DrawIndexedPrimitive, FrontCheck::Locked);
    ASSERT_EQ(vertices->Unlock(), D3D_OK);
    D3DLOCKED_RECT locked;
    EXPECT_REFUSED(device->BackBuffer().LockRect(&locked, nullptr, 0), Op::LockRect, FrontCheck::NotLockable);
}

TEST_F(RefusalTest, DrawsScenesAndTheDirect3DObject)
{
    EXPECT_REFUSED(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), Op::DrawIndexedPrimitive,
                   FrontCheck::IndicesOutside);
    EXPECT_REFUSED(device->DrawIndexedPrimitive(D3DPT_POINTLIST, 0, 0, 4, 0, 2), Op::DrawIndexedPrimitive,
                   FrontCheck::PrimitiveType);
    EXPECT_REFUSED(device->BeginScene(), Op::BeginScene, FrontCheck::SceneOpen);
    EXPECT_REFUSED(device->Present(nullptr, nullptr, nullptr, nullptr), Op::Present, FrontCheck::SceneOpen);
    ASSERT_EQ(device->SetIndices(nullptr), D3D_OK);
    EXPECT_REFUSED(DrawQuad(), Op::DrawIndexedPrimitive, FrontCheck::NoIndices);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_REFUSED(DrawQuad(), Op::DrawIndexedPrimitive, FrontCheck::SceneNotOpen);

    // The Direct3D object keeps its own: one device at a time, which is not an argument fault.
    D3DPRESENT_PARAMETERS parameters = WindowedParameters(800, 600);
    IDirect3DDevice9* second = nullptr;
    EXPECT_EQ(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                     &second),
              D3DERR_NOTAVAILABLE);
    ASSERT_TRUE(direct3d->LastRefusal());
    EXPECT_EQ(direct3d->LastRefusal()->check, FrontCheck::DeviceAlive);
    EXPECT_EQ(DescribeRefusal(*direct3d->LastRefusal()),
              "CreateDevice refused (DeviceAlive): this Direct3D object's device is still alive");
    EXPECT_EQ(recorder->Call<Op::Refused>(notices).Operation, Op::CreateDevice);
}

} // namespace
