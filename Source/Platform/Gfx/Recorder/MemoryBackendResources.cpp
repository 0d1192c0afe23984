// The memory backend's resources: storage for new objects, and locks that hand it out.
#include "Platform/Gfx/Recorder/MemoryBackend.h"

#include <algorithm>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/Recorder.h"
#include "Platform/Gfx/Recorder/detail/MemoryData.h"
#include "Platform/Gfx/Recorder/detail/StoreOrReport.h"

namespace {

constexpr BYTE kDiscarded = 0xCD;

constexpr DWORD kCreationUsage = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC;

} // namespace

HRESULT MemoryBackend::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                 D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, BOOL,
                                                 IDirect3DSurface9** ppSurface, HANDLE*)
{
    if (!Offers(D3DRTYPE_SURFACE, Format, D3DUSAGE_DEPTHSTENCIL) ||
        !OffersMultiSample(Format, MultiSample, MultisampleQuality) || !FitsCaps(D3DRTYPE_TEXTURE, Width, Height, 1)) {
        return D3DERR_INVALIDCALL;
    }
    return StoreOrReport([&] { Store(**ppSurface, true); });
}

HRESULT MemoryBackend::CreateTexture(UINT Width, UINT Height, UINT, DWORD Usage, D3DFORMAT Format, D3DPOOL,
                                     IDirect3DTexture9** ppTexture, HANDLE*)
{
    if (!Offers(D3DRTYPE_TEXTURE, Format, Usage & kCreationUsage) || !FitsCaps(D3DRTYPE_TEXTURE, Width, Height, 1)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DTexture9& texture = **ppTexture;
    return StoreOrReport([&] {
        for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
            Store(texture.LevelSurface(level), false);
        }
        texture.Backend().Attach(std::make_unique<RegisteredData>(*recorder_, ObjectKind::Texture, texture));
    });
}

HRESULT MemoryBackend::CreateCubeTexture(UINT EdgeLength, UINT, DWORD Usage, D3DFORMAT Format, D3DPOOL,
                                         IDirect3DCubeTexture9** ppCubeTexture, HANDLE*)
{
    if (!Offers(D3DRTYPE_CUBETEXTURE, Format, Usage & kCreationUsage) ||
        !FitsCaps(D3DRTYPE_CUBETEXTURE, EdgeLength, EdgeLength, 1)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DCubeTexture9& texture = **ppCubeTexture;
    return StoreOrReport([&] {
        for (UINT face = 0; face < 6; ++face) {
            for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
                Store(texture.FaceSurface(static_cast<D3DCUBEMAP_FACES>(face), level), false);
            }
        }
        texture.Backend().Attach(std::make_unique<RegisteredData>(*recorder_, ObjectKind::CubeTexture, texture));
    });
}

HRESULT MemoryBackend::CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT, DWORD Usage, D3DFORMAT Format,
                                           D3DPOOL, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE*)
{
    if (!Offers(D3DRTYPE_VOLUMETEXTURE, Format, Usage & kCreationUsage) ||
        !FitsCaps(D3DRTYPE_VOLUMETEXTURE, Width, Height, Depth)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DVolumeTexture9& texture = **ppVolumeTexture;
    return StoreOrReport([&] {
        for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
            IDirect3DVolume9& volume = texture.LevelVolume(level);
            const D3DVOLUME_DESC& desc = volume.Desc();
            volume.Backend().Attach(std::make_unique<VolumeData>(
                ImageBytes(desc.Format, desc.Width, desc.Height, desc.Depth, Config().rowPitchAlignment)));
        }
        texture.Backend().Attach(std::make_unique<RegisteredData>(*recorder_, ObjectKind::VolumeTexture, texture));
    });
}

HRESULT MemoryBackend::CreateVertexBuffer(UINT Length, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9** ppVertexBuffer,
                                          HANDLE*)
{
    IDirect3DVertexBuffer9& buffer = **ppVertexBuffer;
    return StoreOrReport([&] {
        buffer.Backend().Attach(std::make_unique<BufferData>(*recorder_, ObjectKind::VertexBuffer, buffer, Length));
    });
}

HRESULT MemoryBackend::CreateIndexBuffer(UINT Length, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9** ppIndexBuffer,
                                         HANDLE*)
{
    IDirect3DIndexBuffer9& buffer = **ppIndexBuffer;
    return StoreOrReport([&] {
        buffer.Backend().Attach(std::make_unique<BufferData>(*recorder_, ObjectKind::IndexBuffer, buffer, Length));
    });
}

HRESULT MemoryBackend::CreateVertexDeclaration(const D3DVERTEXELEMENT9*, IDirect3DVertexDeclaration9** ppDecl)
{
    IDirect3DVertexDeclaration9& declaration = **ppDecl;
    declaration.Backend().Attach(
        std::make_unique<RegisteredData>(*recorder_, ObjectKind::VertexDeclaration, declaration));
    return D3D_OK;
}

HRESULT MemoryBackend::LockRect(IDirect3DSurface9* pSurface, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                DWORD Flags)
{
    ImageBytes& image = pSurface->Backend().As<SurfaceData>().image;
    if ((Flags & D3DLOCK_DISCARD) && Config().scrambleOnDiscard) {
        std::fill(image.bytes.begin(), image.bytes.end(), kDiscarded);
    }
    pLockedRect->Pitch = static_cast<INT>(image.rowPitch);
    pLockedRect->pBits = pRect ? image.At(pRect->left, pRect->top) : image.At(0, 0);
    return D3D_OK;
}

HRESULT MemoryBackend::UnlockRect(IDirect3DSurface9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::LockBox(IDirect3DVolume9* pVolume, D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox,
                               DWORD Flags)
{
    ImageBytes& image = pVolume->Backend().As<VolumeData>().image;
    if ((Flags & D3DLOCK_DISCARD) && Config().scrambleOnDiscard) {
        std::fill(image.bytes.begin(), image.bytes.end(), kDiscarded);
    }
    pLockedVolume->RowPitch = static_cast<INT>(image.rowPitch);
    pLockedVolume->SlicePitch = static_cast<INT>(image.slicePitch);
    pLockedVolume->pBits = pBox ? image.At(pBox->Left, pBox->Top, pBox->Front) : image.At(0, 0, 0);
    return D3D_OK;
}

HRESULT MemoryBackend::UnlockBox(IDirect3DVolume9*)
{
    return D3D_OK;
}

namespace {

HRESULT LockBytes(std::vector<BYTE>& bytes, UINT OffsetToLock, DWORD Flags, bool scramble, void** ppbData)
{
    if ((Flags & D3DLOCK_DISCARD) && scramble) {
        std::fill(bytes.begin(), bytes.end(), kDiscarded);
    }
    *ppbData = bytes.data() + OffsetToLock;
    return D3D_OK;
}

} // namespace

HRESULT MemoryBackend::LockVertexBuffer(IDirect3DVertexBuffer9* pVertexBuffer, UINT OffsetToLock, UINT, void** ppbData,
                                        DWORD Flags)
{
    return LockBytes(pVertexBuffer->Backend().As<BufferData>().bytes, OffsetToLock, Flags, Config().scrambleOnDiscard,
                     ppbData);
}

HRESULT MemoryBackend::UnlockVertexBuffer(IDirect3DVertexBuffer9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::LockIndexBuffer(IDirect3DIndexBuffer9* pIndexBuffer, UINT OffsetToLock, UINT, void** ppbData,
                                       DWORD Flags)
{
    return LockBytes(pIndexBuffer->Backend().As<BufferData>().bytes, OffsetToLock, Flags, Config().scrambleOnDiscard,
                     ppbData);
}

HRESULT MemoryBackend::UnlockIndexBuffer(IDirect3DIndexBuffer9*)
{
    return D3D_OK;
}
