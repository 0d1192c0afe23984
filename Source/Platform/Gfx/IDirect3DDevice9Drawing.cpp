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
    if (StreamNumber >= MAXD3DDECLSTREAMS ||
        (pStreamData && (!Owns(pStreamData) || OffsetInBytes >= pStreamData->Desc().Size))) {
        return D3DERR_INVALIDCALL;
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
        return D3DERR_INVALIDCALL;
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
        return D3DERR_INVALIDCALL;
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
    if (const HRESULT hr = CheckIndexedDraw(state_, PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices,
                                            startIndex, primCount);
        FAILED(hr)) {
        return hr;
    }
    return driver_->DrawIndexedPrimitive(PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex,
                                         primCount);
}
