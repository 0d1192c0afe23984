#include "Platform/Gfx/IDirect3DVolume9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/IDirect3DVolumeTexture9.h"
#include "Platform/Gfx/detail/LockChecks.h"

IDirect3DVolume9::IDirect3DVolume9(IDirect3DVolumeTexture9& container, const D3DVOLUME_DESC& desc, UINT level)
    : DeviceChild(container.Device(), container), desc_(desc), container_(container), level_(level)
{
}

HRESULT IDirect3DVolume9::GetDesc(D3DVOLUME_DESC* pDesc)
{
    if (!pDesc) {
        return Device().Refuse("GetDesc", FrontCheck::NullPointer);
    }
    *pDesc = desc_;
    return D3D_OK;
}

HRESULT IDirect3DVolume9::LockBox(D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox, DWORD Flags)
{
    if (!pLockedVolume) {
        return Device().Refuse(Op::LockBox, FrontCheck::NullPointer);
    }
    if (locked_) {
        return Device().Refuse(Op::LockBox, FrontCheck::Locked);
    }
    if (!PoolAllowsImageLock(desc_.Pool, desc_.Usage)) {
        return Device().Refuse(Op::LockBox, FrontCheck::NotLockable);
    }
    if (const auto failed = CheckLockFlags(Flags, desc_.Usage, LockTarget::Image)) {
        return Device().Refuse(Op::LockBox, *failed);
    }
    if (pBox && !BoxInside(*pBox, desc_.Width, desc_.Height, desc_.Depth)) {
        return Device().Refuse(Op::LockBox, FrontCheck::OutsideResource);
    }
    const HRESULT hr = Device().Driver().LockBox(this, pLockedVolume, pBox, Flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DVolume9::UnlockBox()
{
    if (!locked_) {
        return Device().Refuse(Op::UnlockBox, FrontCheck::NotLocked);
    }
    const HRESULT hr = Device().Driver().UnlockBox(this);
    if (SUCCEEDED(hr)) {
        locked_ = false;
    }
    return hr;
}
