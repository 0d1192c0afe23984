// The device's targets: clears, viewport, render targets, depth-stencil surface and StretchRect.
#include "Platform/Gfx/IDirect3DDevice9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/detail/Bindings.h"
#include "Platform/Gfx/detail/TargetChecks.h"

HRESULT IDirect3DDevice9::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                DWORD Stencil)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (const auto failed = CheckClear(Count, pRects, Flags, Z, state_.depthStencil)) {
        return Refuse(Op::Clear, *failed);
    }
    return driver_->Clear(Count, pRects, Flags, Color, Z, Stencil);
}

HRESULT IDirect3DDevice9::GetViewport(D3DVIEWPORT9* pViewport)
{
    if (!pViewport) {
        return Refuse("GetViewport", FrontCheck::NullPointer);
    }
    *pViewport = state_.viewport;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetViewport(const D3DVIEWPORT9* pViewport)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!pViewport) {
        return Refuse(Op::SetViewport, FrontCheck::NullPointer);
    }
    if (!ViewportFits(*pViewport, state_.renderTargets[0]->Desc())) {
        return Refuse(Op::SetViewport, FrontCheck::ViewportOutside);
    }
    const HRESULT hr = driver_->SetViewport(pViewport);
    if (SUCCEEDED(hr)) {
        state_.viewport = *pViewport;
    }
    return hr;
}

HRESULT IDirect3DDevice9::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget)
{
    if (RenderTargetIndex >= kMaxRenderTargets) {
        return Refuse("GetRenderTarget", FrontCheck::SlotOutOfRange);
    }
    if (!ppRenderTarget) {
        return Refuse("GetRenderTarget", FrontCheck::NullPointer);
    }
    *ppRenderTarget = state_.renderTargets[RenderTargetIndex];
    if (!*ppRenderTarget) {
        return D3DERR_NOTFOUND;
    }
    (*ppRenderTarget)->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (RenderTargetIndex >= kMaxRenderTargets) {
        return Refuse(Op::SetRenderTarget, FrontCheck::SlotOutOfRange);
    }
    if (RenderTargetIndex == 0 && !pRenderTarget) {
        return Refuse(Op::SetRenderTarget, FrontCheck::RenderTargetZeroUnset);
    }
    if (pRenderTarget && !Owns(pRenderTarget)) {
        return Refuse(Op::SetRenderTarget, FrontCheck::OtherDevice);
    }
    if (pRenderTarget && !(pRenderTarget->Desc().Usage & D3DUSAGE_RENDERTARGET)) {
        return Refuse(Op::SetRenderTarget, FrontCheck::NotRenderTarget);
    }
    const HRESULT hr = driver_->SetRenderTarget(RenderTargetIndex, pRenderTarget);
    if (FAILED(hr)) {
        return hr;
    }
    Rebind(state_.renderTargets[RenderTargetIndex], pRenderTarget);
    if (RenderTargetIndex == 0) {
        state_.viewport = {0, 0, pRenderTarget->Desc().Width, pRenderTarget->Desc().Height, 0.0f, 1.0f};
    }
    return hr;
}

HRESULT IDirect3DDevice9::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface)
{
    if (!ppZStencilSurface) {
        return Refuse("GetDepthStencilSurface", FrontCheck::NullPointer);
    }
    *ppZStencilSurface = state_.depthStencil;
    if (!*ppZStencilSurface) {
        return D3DERR_NOTFOUND;
    }
    (*ppZStencilSurface)->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (pNewZStencil && !Owns(pNewZStencil)) {
        return Refuse(Op::SetDepthStencilSurface, FrontCheck::OtherDevice);
    }
    if (pNewZStencil && !(pNewZStencil->Desc().Usage & D3DUSAGE_DEPTHSTENCIL)) {
        return Refuse(Op::SetDepthStencilSurface, FrontCheck::NotDepthStencil);
    }
    const HRESULT hr = driver_->SetDepthStencilSurface(pNewZStencil);
    if (SUCCEEDED(hr)) {
        Rebind(state_.depthStencil, pNewZStencil);
    }
    return hr;
}

HRESULT IDirect3DDevice9::StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                                      IDirect3DSurface9* pDestSurface, const RECT* pDestRect,
                                      D3DTEXTUREFILTERTYPE Filter)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!pSourceSurface || !pDestSurface) {
        return Refuse(Op::StretchRect, FrontCheck::NullPointer);
    }
    if (!Owns(pSourceSurface) || !Owns(pDestSurface)) {
        return Refuse(Op::StretchRect, FrontCheck::OtherDevice);
    }
    if (const auto failed =
            CheckStretchRect(*pSourceSurface, pSourceRect, *pDestSurface, pDestRect, Filter, state_.inScene)) {
        return Refuse(Op::StretchRect, *failed);
    }
    return driver_->StretchRect(pSourceSurface, pSourceRect, pDestSurface, pDestRect, Filter);
}

HRESULT IDirect3DDevice9::ReadRenderTarget(IDirect3DSurface9* pRenderTarget, ReadBackImage* pImage)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!pRenderTarget || !pImage) {
        return Refuse(Op::ReadRenderTarget, FrontCheck::NullPointer);
    }
    if (!Owns(pRenderTarget)) {
        return Refuse(Op::ReadRenderTarget, FrontCheck::OtherDevice);
    }
    if (!(pRenderTarget->Desc().Usage & D3DUSAGE_RENDERTARGET)) {
        return Refuse(Op::ReadRenderTarget, FrontCheck::NotRenderTarget);
    }
    const D3DSURFACE_DESC& desc = pRenderTarget->Desc();
    pImage->width = desc.Width;
    pImage->height = desc.Height;
    pImage->bgra.assign(size_t{desc.Width} * desc.Height * 4, 0);
    return driver_->ReadRenderTarget(pRenderTarget, pImage->bgra.data());
}
