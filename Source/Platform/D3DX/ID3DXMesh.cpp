#include "Platform/D3DX/ID3DXMesh.h"

#include "Platform/D3DX/D3DXMesh.h"

#include <algorithm>
#include <cstring>

namespace {

D3DPOOL PoolOf(DWORD options)
{
    return (options & D3DXMESH_MANAGED) ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT;
}

template <class Buffer>
HRESULT Fill(Buffer* buffer, const void* data, size_t size)
{
    void* locked = nullptr;
    if (const HRESULT hr = buffer->Lock(0, 0, &locked, 0); FAILED(hr))
        return hr;
    std::memcpy(locked, data, size);
    return buffer->Unlock();
}

} // namespace

ID3DXMesh* ID3DXMesh::Create(IDirect3DDevice9& device, const XMesh& mesh, DWORD options, HRESULT& result)
{
    auto* made = new ID3DXMesh(device, options, mesh);
    result = made->CreateBuffers(mesh);
    if (FAILED(result)) {
        made->Release();
        return nullptr;
    }
    return made;
}

ID3DXMesh::ID3DXMesh(IDirect3DDevice9& device, DWORD options, const XMesh& mesh)
    : device_(device), options_(options), faceCount_(static_cast<DWORD>(mesh.indices.size() / 3)),
      vertexCount_(static_cast<DWORD>(mesh.vertices.size()))
{
    device_.AddRef();
    for (const XMeshSubset& subset : mesh.subsets)
        attributes_.push_back({subset.attribId, subset.faceStart, subset.faceCount, subset.vertexStart,
                               subset.vertexCount});
}

ID3DXMesh::~ID3DXMesh()
{
    for (Unknown* resource : {static_cast<Unknown*>(declaration_), static_cast<Unknown*>(indices_),
                              static_cast<Unknown*>(vertices_)})
        if (resource)
            resource->Release();
    device_.Release();
}

HRESULT ID3DXMesh::CreateBuffers(const XMesh& mesh)
{
    const bool wide = options_ & D3DXMESH_32BIT;
    const D3DPOOL pool = PoolOf(options_);
    const size_t vertexBytes = mesh.vertices.size() * sizeof(XMeshVertex);
    if (HRESULT hr = device_.CreateVertexBuffer(static_cast<UINT>(vertexBytes), D3DUSAGE_WRITEONLY, 0, pool,
                                                &vertices_, nullptr);
        FAILED(hr) || FAILED(hr = Fill(vertices_, mesh.vertices.data(), vertexBytes)))
        return hr;

    HRESULT hr = D3D_OK;
    if (wide) {
        const size_t bytes = mesh.indices.size() * sizeof(uint32_t);
        hr = device_.CreateIndexBuffer(static_cast<UINT>(bytes), D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, pool, &indices_,
                                       nullptr);
        if (SUCCEEDED(hr))
            hr = Fill(indices_, mesh.indices.data(), bytes);
    } else {
        const std::vector<uint16_t> narrow(mesh.indices.begin(), mesh.indices.end());
        const size_t bytes = narrow.size() * sizeof(uint16_t);
        hr = device_.CreateIndexBuffer(static_cast<UINT>(bytes), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, pool, &indices_,
                                       nullptr);
        if (SUCCEEDED(hr))
            hr = Fill(indices_, narrow.data(), bytes);
    }
    if (FAILED(hr))
        return hr;
    return device_.CreateVertexDeclaration(XMeshVertexDeclaration.data(), &declaration_);
}

HRESULT ID3DXMesh::DrawSubset(DWORD AttribId)
{
    const auto subset = std::find_if(attributes_.begin(), attributes_.end(),
                                     [AttribId](const D3DXATTRIBUTERANGE& range) { return range.AttribId == AttribId; });
    if (subset == attributes_.end() || subset->FaceCount == 0)
        return D3D_OK;
    HRESULT hr = device_.SetVertexDeclaration(declaration_);
    if (SUCCEEDED(hr))
        hr = device_.SetStreamSource(0, vertices_, 0, sizeof(XMeshVertex));
    if (SUCCEEDED(hr))
        hr = device_.SetIndices(indices_);
    if (SUCCEEDED(hr))
        hr = device_.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, subset->VertexStart, subset->VertexCount,
                                          subset->FaceStart * 3, subset->FaceCount);
    return hr;
}

HRESULT ID3DXMesh::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    device_.AddRef();
    *ppDevice = &device_;
    return D3D_OK;
}

HRESULT ID3DXMesh::GetVertexBuffer(IDirect3DVertexBuffer9** ppVB)
{
    if (!ppVB)
        return D3DERR_INVALIDCALL;
    vertices_->AddRef();
    *ppVB = vertices_;
    return D3D_OK;
}

HRESULT ID3DXMesh::GetIndexBuffer(IDirect3DIndexBuffer9** ppIB)
{
    if (!ppIB)
        return D3DERR_INVALIDCALL;
    indices_->AddRef();
    *ppIB = indices_;
    return D3D_OK;
}

HRESULT ID3DXMesh::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) const
{
    if (!pAttribTableSize)
        return D3DERR_INVALIDCALL;
    if (!pAttribTable) {
        *pAttribTableSize = static_cast<DWORD>(attributes_.size());
        return D3D_OK;
    }
    const DWORD count = std::min<DWORD>(*pAttribTableSize, static_cast<DWORD>(attributes_.size()));
    std::copy_n(attributes_.begin(), count, pAttribTable);
    *pAttribTableSize = count;
    return D3D_OK;
}
