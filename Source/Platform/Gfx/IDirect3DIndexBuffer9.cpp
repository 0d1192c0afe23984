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
        return D3DERR_INVALIDCALL;
    }
    *pDesc = desc_;
    return D3D_OK;
}

HRESULT IDirect3DIndexBuffer9::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    if (!ppbData || locked_ || FAILED(CheckLockFlags(Flags, desc_.Usage, LockTarget::Buffer)) ||
        !BufferRangeInside(OffsetToLock, SizeToLock, desc_.Size)) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT hr = Device().Driver().LockIndexBuffer(this, OffsetToLock, SizeToLock, ppbData, Flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DIndexBuffer9::Unlock()
{
    if (!locked_) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT hr = Device().Driver().UnlockIndexBuffer(this);
    if (SUCCEEDED(hr)) {
        locked_ = false;
    }
    return hr;
}
