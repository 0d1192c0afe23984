// The device's geometry bindings and draws.
#include "Platform/Gfx/IDirect3DDevice9.h"

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DIndexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"
#include "Platform/Gfx/detail/Bindings.h"
#include "Platform/Gfx/detail/DrawChecks.h"

HRESULT IDirect3DDevice9::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                                          UINT Stride)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (StreamNumber >= MAXD3DDECLSTREAMS) {
        return Refuse(Op::SetStreamSource, FrontCheck::SlotOutOfRange);
    }
    if (pStreamData && !Owns(pStreamData)) {
        return Refuse(Op::SetStreamSource, FrontCheck::OtherDevice);
    }
    if (pStreamData && OffsetInBytes >= pStreamData->Desc().Size) {
        return Refuse(Op::SetStreamSource, FrontCheck::OutsideResource);
    }
    const HRESULT hr = driver_->SetStreamSource(StreamNumber, pStreamData, OffsetInBytes, Stride);
    if (SUCCEEDED(hr)) {
        StreamSource& stream = state_.streams[StreamNumber];
        Rebind(stream.buffer, pStreamData);
        stream.offset = pStreamData ? OffsetInBytes : 0;
        stream.stride = pStreamData ? Stride : 0;
    }
    return hr;
}

HRESULT IDirect3DDevice9::SetIndices(IDirect3DIndexBuffer9* pIndexData)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (pIndexData && !Owns(pIndexData)) {
        return Refuse(Op::SetIndices, FrontCheck::OtherDevice);
    }
    const HRESULT hr = driver_->SetIndices(pIndexData);
    if (SUCCEEDED(hr)) {
        Rebind(state_.indices, pIndexData);
    }
    return hr;
}

HRESULT IDirect3DDevice9::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (pDecl && !Owns(pDecl)) {
        return Refuse(Op::SetVertexDeclaration, FrontCheck::OtherDevice);
    }
    const HRESULT hr = driver_->SetVertexDeclaration(pDecl);
    if (SUCCEEDED(hr)) {
        Rebind(state_.vertexDeclaration, pDecl);
    }
    return hr;
}

HRESULT IDirect3DDevice9::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                               UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                               UINT primCount)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (const auto failed = CheckIndexedDraw(state_, PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices,
                                             startIndex, primCount)) {
        return Refuse(Op::DrawIndexedPrimitive, *failed);
    }
    return driver_->DrawIndexedPrimitive(PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex,
                                         primCount);
}
