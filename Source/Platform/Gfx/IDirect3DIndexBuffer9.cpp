#include "Platform/Gfx/IDirect3DIndexBuffer9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/LockChecks.h"

IDirect3DIndexBuffer9::IDirect3DIndexBuffer9(IDirect3DDevice9& device, const D3DINDEXBUFFER_DESC& desc)
    : IDirect3DResource9(device, D3DRTYPE_INDEXBUFFER, desc.Pool), desc_(desc)
{
}

HRESULT IDirect3DIndexBuffer9::GetDesc(D3DINDEXBUFFER_DESC* pDesc)
{
    if (!pDesc) {
        return Device().Refuse("GetDesc", FrontCheck::NullPointer);
    }
    *pDesc = desc_;
    return D3D_OK;
}

HRESULT IDirect3DIndexBuffer9::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    if (!ppbData) {
        return Device().Refuse(Op::LockIndexBuffer, FrontCheck::NullPointer);
    }
    if (locked_) {
        return Device().Refuse(Op::LockIndexBuffer, FrontCheck::Locked);
    }
    if (const auto failed = CheckLockFlags(Flags, desc_.Usage, LockTarget::Buffer)) {
        return Device().Refuse(Op::LockIndexBuffer, *failed);
    }
    if (!BufferRangeInside(OffsetToLock, SizeToLock, desc_.Size)) {
        return Device().Refuse(Op::LockIndexBuffer, FrontCheck::OutsideResource);
    }
    const HRESULT hr = Device().Driver().LockIndexBuffer(this, OffsetToLock, SizeToLock, ppbData, Flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DIndexBuffer9::Unlock()
{
    if (!locked_) {
        return Device().Refuse(Op::UnlockIndexBuffer, FrontCheck::NotLocked);
    }
    const HRESULT hr = Device().Driver().UnlockIndexBuffer(this);
    if (SUCCEEDED(hr)) {
        locked_ = false;
    }
    return hr;
}
