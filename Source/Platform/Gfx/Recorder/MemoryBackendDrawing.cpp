// The memory backend's geometry: bindings live in the front device; draws are checked against
// the stored indices and vertices, since a GPU would read outside them without a word.
#include "Platform/Gfx/Recorder/MemoryBackend.h"

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/detail/IndexRange.h"

HRESULT MemoryBackend::SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT)
{
    return D3D_OK;
}

HRESULT MemoryBackend::SetIndices(IDirect3DIndexBuffer9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::SetVertexDeclaration(IDirect3DVertexDeclaration9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                            UINT NumVertices, UINT startIndex, UINT primCount)
{
    if (!IndexedVerticesInside(device_->State(), PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices,
                               startIndex, primCount)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}
