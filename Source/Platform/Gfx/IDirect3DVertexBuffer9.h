// A vertex buffer: vertex data, read by the draws through a stream. Locks do not nest: one Lock, then its Unlock.
#pragma once

#include "Platform/Gfx/IDirect3DResource9.h"

class IDirect3DVertexBuffer9 : public IDirect3DResource9 {
public:
    IDirect3DVertexBuffer9(IDirect3DDevice9& device, const D3DVERTEXBUFFER_DESC& desc);

    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* pDesc);
    // SizeToLock 0 locks from OffsetToLock to the end.
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags);
    HRESULT Unlock();

    const D3DVERTEXBUFFER_DESC& Desc() const { return desc_; }
    bool Locked() const { return locked_; }

private:
    D3DVERTEXBUFFER_DESC desc_;
    bool locked_ = false;
};
