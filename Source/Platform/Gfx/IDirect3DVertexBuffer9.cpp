#include "Platform/Gfx/IDirect3DVertexBuffer9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/LockChecks.h"

IDirect3DVertexBuffer9::IDirect3DVertexBuffer9(IDirect3DDevice9& device, const D3DVERTEXBUFFER_DESC& desc)
    : IDirect3DResource9(device, D3DRTYPE_VERTEXBUFFER, desc.Pool), desc_(desc)
{
}

HRESULT IDirect3DVertexBuffer9::GetDesc(D3DVERTEXBUFFER_DESC* pDesc)
{
    if (!pDesc) {
        return Device().Refuse("GetDesc", FrontCheck::NullPointer);
    }
    *pDesc = desc_;
    return D3D_OK;
}

HRESULT IDirect3DVertexBuffer9::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags)
{
    if (!ppbData) {
        return Device().Refuse(Op::LockVertexBuffer, FrontCheck::NullPointer);
    }
    if (locked_) {
        return Device().Refuse(Op::LockVertexBuffer, FrontCheck::Locked);
    }
    if (const auto failed = CheckLockFlags(Flags, desc_.Usage, LockTarget::Buffer)) {
        return Device().Refuse(Op::LockVertexBuffer, *failed);
    }
    if (!BufferRangeInside(OffsetToLock, SizeToLock, desc_.Size)) {
        return Device().Refuse(Op::LockVertexBuffer, FrontCheck::OutsideResource);
    }
    const HRESULT hr = Device().Driver().LockVertexBuffer(this, OffsetToLock, SizeToLock, ppbData, Flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DVertexBuffer9::Unlock()
{
    if (!locked_) {
        return Device().Refuse(Op::UnlockVertexBuffer, FrontCheck::NotLocked);
    }
    const HRESULT hr = Device().Driver().UnlockVertexBuffer(this);
    if (SUCCEEDED(hr)) {
        locked_ = false;
    }
    return hr;
}
