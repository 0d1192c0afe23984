#include "Platform/Gfx/IDirect3DSurface9.h"

#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/LockChecks.h"

IDirect3DSurface9::IDirect3DSurface9(IDirect3DDevice9& device, const D3DSURFACE_DESC& desc)
    : IDirect3DResource9(device, D3DRTYPE_SURFACE, desc.Pool), desc_(desc)
{
}

IDirect3DSurface9::IDirect3DSurface9(IDirect3DBaseTexture9& container, const D3DSURFACE_DESC& desc, UINT level,
                                     D3DCUBEMAP_FACES face)
    : IDirect3DResource9(container.Device(), container, D3DRTYPE_SURFACE, desc.Pool),
      desc_(desc),
      container_(&container),
      level_(level),
      face_(face)
{
}

IDirect3DSurface9::IDirect3DSurface9(IDirect3DDevice9& device, Unknown& swapChainOwner, const D3DSURFACE_DESC& desc)
    : IDirect3DResource9(device, swapChainOwner, D3DRTYPE_SURFACE, desc.Pool), desc_(desc), backBuffer_(true)
{
}

HRESULT IDirect3DSurface9::GetDesc(D3DSURFACE_DESC* pDesc)
{
    if (!pDesc) {
        return Device().Refuse("GetDesc", FrontCheck::NullPointer);
    }
    *pDesc = desc_;
    return D3D_OK;
}

bool IDirect3DSurface9::Lockable() const
{
    return !backBuffer_ && desc_.MultiSampleType == D3DMULTISAMPLE_NONE && !IsDepthFormat(desc_.Format) &&
           PoolAllowsImageLock(desc_.Pool, desc_.Usage);
}

HRESULT IDirect3DSurface9::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags)
{
    if (!pLockedRect) {
        return Device().Refuse(Op::LockRect, FrontCheck::NullPointer);
    }
    if (!Lockable()) {
        return Device().Refuse(Op::LockRect, FrontCheck::NotLockable);
    }
    if (locked_) {
        return Device().Refuse(Op::LockRect, FrontCheck::Locked);
    }
    if (const auto failed = CheckLockFlags(Flags, desc_.Usage, LockTarget::Image)) {
        return Device().Refuse(Op::LockRect, *failed);
    }
    if (pRect && !RectInside(*pRect, desc_.Width, desc_.Height)) {
        return Device().Refuse(Op::LockRect, FrontCheck::OutsideResource);
    }
    const HRESULT hr = Device().Driver().LockRect(this, pLockedRect, pRect, Flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DSurface9::UnlockRect()
{
    if (!locked_) {
        return Device().Refuse(Op::UnlockRect, FrontCheck::NotLocked);
    }
    const HRESULT hr = Device().Driver().UnlockRect(this);
    if (SUCCEEDED(hr)) {
        locked_ = false;
    }
    return hr;
}

Unknown* IDirect3DSurface9::HeldThrough()
{
    if (backBuffer_) {
        return nullptr;
    }
    if (container_) {
        return container_;
    }
    return this;
}
