// D3DX's mesh: a triangle list in one vertex buffer and one index buffer on a device, with an
// attribute table that splits the faces into subsets. D3DXLoadMeshFromXInMemory (D3DXMesh.h)
// makes it; it holds a reference on its device and its buffers for its life.
#pragma once

#include "Platform/D3DX/XMesh.h"
#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Unknown.h"

#include <vector>

// D3DX's attribute range: subset AttribId draws FaceCount triangles from FaceStart on (indices
// 3 * FaceStart on), which use the vertices [VertexStart, VertexStart + VertexCount).
struct D3DXATTRIBUTERANGE {
    DWORD AttribId = 0;
    DWORD FaceStart = 0;
    DWORD FaceCount = 0;
    DWORD VertexStart = 0;
    DWORD VertexCount = 0;
};

class ID3DXMesh : public Unknown {
public:
    // The device's buffers and declaration for the mesh, with its options (D3DXMesh.h); null with
    // the device's failure in result.
    static ID3DXMesh* Create(IDirect3DDevice9& device, const XMesh& mesh, DWORD options, HRESULT& result);

    // Draws the subset's triangles with whatever shaders and states are current: sets the
    // declaration, stream 0 and the indices, then one indexed draw. A subset that is not in the
    // attribute table, or has no faces, draws nothing and succeeds, as D3DX does.
    HRESULT DrawSubset(DWORD AttribId);

    DWORD GetNumFaces() const { return faceCount_; }
    DWORD GetNumVertices() const { return vertexCount_; }
    DWORD GetNumBytesPerVertex() const { return sizeof(XMeshVertex); }
    DWORD GetOptions() const { return options_; }
    HRESULT GetDevice(IDirect3DDevice9** ppDevice);
    // With a reference the caller releases.
    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** ppVB);
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** ppIB);
    // pAttribTable null: *pAttribTableSize receives the number of entries. Otherwise
    // *pAttribTableSize entries at most are copied and the count copied is written back.
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) const;

private:
    ID3DXMesh(IDirect3DDevice9& device, DWORD options, const XMesh& mesh);
    ~ID3DXMesh() override;

    HRESULT CreateBuffers(const XMesh& mesh);

    IDirect3DDevice9& device_;
    const DWORD options_;
    DWORD faceCount_ = 0;
    DWORD vertexCount_ = 0;
    std::vector<D3DXATTRIBUTERANGE> attributes_;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
    IDirect3DVertexDeclaration9* declaration_ = nullptr;
};
