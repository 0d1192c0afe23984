// The device's resource creation: each method checks its arguments, builds the object and lets
// the backend attach its storage.
#include "Platform/Gfx/IDirect3DDevice9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DCubeTexture9.h"
#include "Platform/Gfx/IDirect3DIndexBuffer9.h"
#include "Platform/Gfx/IDirect3DTexture9.h"
#include "Platform/Gfx/IDirect3DVertexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"
#include "Platform/Gfx/IDirect3DVolumeTexture9.h"
#include "Platform/Gfx/detail/CreationChecks.h"

template <class T, class Create>
HRESULT IDirect3DDevice9::Realise(T* object, T** out, Create create)
{
    T* built = object;
    const HRESULT hr = create(&built);
    if (FAILED(hr)) {
        object->Release();
        *out = nullptr;
        return hr;
    }
    *out = object;
    return hr;
}

HRESULT IDirect3DDevice9::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                    D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality,
                                                    BOOL Discard, IDirect3DSurface9** ppSurface,
                                                    HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!ppSurface) {
        return Refuse(Op::CreateDepthStencilSurface, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateDepthStencilSurface, FrontCheck::SharedHandle);
    }
    if (const auto failed = CheckDepthStencilCreation(Width, Height, Format, MultiSample)) {
        return Refuse(Op::CreateDepthStencilSurface, *failed);
    }
    D3DSURFACE_DESC desc;
    desc.Format = Format;
    desc.Usage = D3DUSAGE_DEPTHSTENCIL;
    desc.Pool = D3DPOOL_DEFAULT;
    desc.MultiSampleType = MultiSample;
    desc.MultiSampleQuality = MultisampleQuality;
    desc.Width = Width;
    desc.Height = Height;
    return Realise(new IDirect3DSurface9(*this, desc), ppSurface, [&](IDirect3DSurface9** built) {
        return driver_->CreateDepthStencilSurface(Width, Height, Format, MultiSample, MultisampleQuality, Discard,
                                                  built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                        D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    UINT levels = Levels;
    if (!ppTexture) {
        return Refuse(Op::CreateTexture, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateTexture, FrontCheck::SharedHandle);
    }
    if (const auto failed = CheckTextureCreation(D3DRTYPE_TEXTURE, Width, Height, 1, levels, Usage, Format, Pool)) {
        return Refuse(Op::CreateTexture, *failed);
    }
    auto* texture = new IDirect3DTexture9(*this, Width, Height, levels, Usage, Format, Pool);
    return Realise(texture, ppTexture, [&](IDirect3DTexture9** built) {
        return driver_->CreateTexture(Width, Height, Levels, Usage, Format, Pool, built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DCubeTexture9** ppCubeTexture,
                                            HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    UINT levels = Levels;
    if (!ppCubeTexture) {
        return Refuse(Op::CreateCubeTexture, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateCubeTexture, FrontCheck::SharedHandle);
    }
    if (const auto failed =
            CheckTextureCreation(D3DRTYPE_CUBETEXTURE, EdgeLength, EdgeLength, 1, levels, Usage, Format, Pool)) {
        return Refuse(Op::CreateCubeTexture, *failed);
    }
    auto* texture = new IDirect3DCubeTexture9(*this, EdgeLength, levels, Usage, Format, Pool);
    return Realise(texture, ppCubeTexture, [&](IDirect3DCubeTexture9** built) {
        return driver_->CreateCubeTexture(EdgeLength, Levels, Usage, Format, Pool, built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage,
                                              D3DFORMAT Format, D3DPOOL Pool,
                                              IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    UINT levels = Levels;
    if (!ppVolumeTexture) {
        return Refuse(Op::CreateVolumeTexture, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateVolumeTexture, FrontCheck::SharedHandle);
    }
    if (const auto failed =
            CheckTextureCreation(D3DRTYPE_VOLUMETEXTURE, Width, Height, Depth, levels, Usage, Format, Pool)) {
        return Refuse(Op::CreateVolumeTexture, *failed);
    }
    auto* texture = new IDirect3DVolumeTexture9(*this, Width, Height, Depth, levels, Usage, Format, Pool);
    return Realise(texture, ppVolumeTexture, [&](IDirect3DVolumeTexture9** built) {
        return driver_->CreateVolumeTexture(Width, Height, Depth, Levels, Usage, Format, Pool, built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                             IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!ppVertexBuffer) {
        return Refuse(Op::CreateVertexBuffer, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateVertexBuffer, FrontCheck::SharedHandle);
    }
    if (const auto failed = CheckBufferCreation(Length, Usage, Pool)) {
        return Refuse(Op::CreateVertexBuffer, *failed);
    }
    D3DVERTEXBUFFER_DESC desc;
    desc.Usage = Usage;
    desc.Pool = Pool;
    desc.Size = Length;
    desc.FVF = FVF;
    return Realise(new IDirect3DVertexBuffer9(*this, desc), ppVertexBuffer, [&](IDirect3DVertexBuffer9** built) {
        return driver_->CreateVertexBuffer(Length, Usage, FVF, Pool, built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!ppIndexBuffer) {
        return Refuse(Op::CreateIndexBuffer, FrontCheck::NullPointer);
    }
    if (pSharedHandle) {
        return Refuse(Op::CreateIndexBuffer, FrontCheck::SharedHandle);
    }
    if (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32) {
        return Refuse(Op::CreateIndexBuffer, FrontCheck::FormatForUsage);
    }
    if (const auto failed = CheckBufferCreation(Length, Usage, Pool)) {
        return Refuse(Op::CreateIndexBuffer, *failed);
    }
    D3DINDEXBUFFER_DESC desc;
    desc.Format = Format;
    desc.Usage = Usage;
    desc.Pool = Pool;
    desc.Size = Length;
    return Realise(new IDirect3DIndexBuffer9(*this, desc), ppIndexBuffer, [&](IDirect3DIndexBuffer9** built) {
        return driver_->CreateIndexBuffer(Length, Usage, Format, Pool, built, pSharedHandle);
    });
}

HRESULT IDirect3DDevice9::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                                  IDirect3DVertexDeclaration9** ppDecl)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    std::vector<D3DVERTEXELEMENT9> elements;
    if (!pVertexElements || !ppDecl) {
        return Refuse(Op::CreateVertexDeclaration, FrontCheck::NullPointer);
    }
    if (const auto failed = CheckVertexElements(pVertexElements, elements)) {
        return Refuse(Op::CreateVertexDeclaration, *failed);
    }
    auto* declaration = new IDirect3DVertexDeclaration9(*this, std::move(elements));
    return Realise(declaration, ppDecl, [&](IDirect3DVertexDeclaration9** built) {
        return driver_->CreateVertexDeclaration(pVertexElements, built);
    });
}
