// A index buffer: 16- or 32-bit indices, read by the indexed draws. Locks do not nest: one Lock, then its Unlock.
#pragma once

#include "Platform/Gfx/IDirect3DResource9.h"

class IDirect3DIndexBuffer9 : public IDirect3DResource9 {
public:
    IDirect3DIndexBuffer9(IDirect3DDevice9& device, const D3DINDEXBUFFER_DESC& desc);

    HRESULT GetDesc(D3DINDEXBUFFER_DESC* pDesc);
    // SizeToLock 0 locks from OffsetToLock to the end.
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags);
    HRESULT Unlock();

    const D3DINDEXBUFFER_DESC& Desc() const { return desc_; }
    bool Locked() const { return locked_; }

private:
    D3DINDEXBUFFER_DESC desc_;
    bool locked_ = false;
};
