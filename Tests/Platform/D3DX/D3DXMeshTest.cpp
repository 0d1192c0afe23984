// ".x" meshes loaded onto a device: the buffers, the attribute table, the material buffer and
// DrawSubset, on the Recorder.
#include "Gfx/RecorderFixture.h"

#include "Platform/D3DX/D3DXMesh.h"

#include <cstring>
#include <string>

namespace {

// Two triangles with material 1, then one with material 0; a third material no face uses.
const std::string ThreeMaterials = R"(xof 0303txt 0032
Mesh {
 4;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 1.0;1.0;0.0;,
 0.0;1.0;0.0;;
 3;
 3;0,1,2;,
 3;0,2,3;,
 3;0,3,1;;
 MeshMaterialList {
  3;
  3;
  1,
  1,
  0;;
  Material First {
   1.0;0.0;0.0;0.5;;
   8.0;
   0.1;0.2;0.3;;
   0.4;0.5;0.6;;
   TextureFilename { "first.png"; }
  }
  Material Second {
   0.0;1.0;0.0;1.0;;
   2.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
  Material Unused {
   0.0;0.0;1.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
}
)";

class D3DXMeshTest : public RecorderFixture {
protected:
    void SetUp() override { CreateDevice(); }

    HRESULT Load(const std::string& text, DWORD options = D3DXMESH_32BIT | D3DXMESH_MANAGED)
    {
        return D3DXLoadMeshFromXInMemory(text.data(), static_cast<DWORD>(text.size()), options, device, nullptr,
                                         &materials, nullptr, &materialCount, &mesh);
    }

    void TearDown() override
    {
        if (materials)
            materials->Release();
        if (mesh)
            mesh->Release();
    }

    std::vector<D3DXATTRIBUTERANGE> AttributeTable() const
    {
        DWORD count = 0;
        EXPECT_EQ(mesh->GetAttributeTable(nullptr, &count), D3D_OK);
        std::vector<D3DXATTRIBUTERANGE> table(count);
        EXPECT_EQ(mesh->GetAttributeTable(table.data(), &count), D3D_OK);
        return table;
    }

    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;
};

TEST_F(D3DXMeshTest, MaterialsComeInFileOrderWithoutTextureNames)
{
    ASSERT_EQ(Load(ThreeMaterials), D3D_OK);
    ASSERT_EQ(materialCount, 3u);
    ASSERT_EQ(materials->GetBufferSize(), 3 * sizeof(D3DXMATERIAL));
    const auto* entries = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    const D3DMATERIAL9& first = entries[0].MatD3D;
    EXPECT_EQ((std::vector<float>{first.Diffuse.r, first.Diffuse.g, first.Diffuse.b, first.Diffuse.a}),
              (std::vector<float>{1.0f, 0.0f, 0.0f, 0.5f}));
    EXPECT_EQ(first.Power, 8.0f);
    EXPECT_EQ((std::vector<float>{first.Specular.r, first.Specular.g, first.Specular.b}),
              (std::vector<float>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ((std::vector<float>{first.Emissive.r, first.Emissive.g, first.Emissive.b}),
              (std::vector<float>{0.4f, 0.5f, 0.6f}));
    EXPECT_EQ(entries[1].MatD3D.Diffuse.g, 1.0f);
    EXPECT_EQ(entries[1].MatD3D.Power, 2.0f);
    EXPECT_EQ(entries[2].MatD3D.Diffuse.b, 1.0f);
    for (DWORD i = 0; i < materialCount; ++i)
        EXPECT_EQ(entries[i].pTextureFilename, nullptr);
}

TEST_F(D3DXMeshTest, TheBuffersHoldTheMeshSubsetBySubset)
{
    ASSERT_EQ(Load(ThreeMaterials), D3D_OK);
    EXPECT_EQ(mesh->GetNumFaces(), 3u);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 32u);
    const std::vector<D3DXATTRIBUTERANGE> table = AttributeTable();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceStart, 0u);
    EXPECT_EQ(table[0].FaceCount, 1u);
    EXPECT_EQ(table[1].AttribId, 1u);
    EXPECT_EQ(table[1].FaceStart, 1u);
    EXPECT_EQ(table[1].FaceCount, 2u);
    EXPECT_EQ(table[2].FaceCount, 0u);

    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(mesh->GetVertexBuffer(&vertices), D3D_OK);
    ASSERT_EQ(mesh->GetIndexBuffer(&indices), D3D_OK);
    EXPECT_EQ(vertices->Desc().Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(indices->Desc().Format, D3DFMT_INDEX32);
    EXPECT_EQ(vertices->Desc().Size, mesh->GetNumVertices() * 32u);
    // Subset 0's triangle is the file's third face, 0-3-1, with the file's positions.
    const std::vector<BYTE> indexBytes = recorder->BufferBytes(*indices);
    const std::vector<BYTE> vertexBytes = recorder->BufferBytes(*vertices);
    ASSERT_EQ(indexBytes.size(), 9 * sizeof(uint32_t));
    uint32_t triangle[3];
    std::memcpy(triangle, indexBytes.data(), sizeof triangle);
    const float expected[3][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    for (int corner = 0; corner < 3; ++corner) {
        ASSERT_LT(triangle[corner], mesh->GetNumVertices());
        float position[3];
        std::memcpy(position, vertexBytes.data() + 32 * triangle[corner], sizeof position);
        EXPECT_EQ(std::vector<float>(position, position + 3), std::vector<float>(expected[corner], expected[corner] + 3))
            << "corner " << corner;
    }
    ReleaseAll(vertices, indices);
}

TEST_F(D3DXMeshTest, DrawSubsetDrawsThatSubsetsTrianglesOnly)
{
    ASSERT_EQ(Load(ThreeMaterials), D3D_OK);
    const std::vector<D3DXATTRIBUTERANGE> table = AttributeTable();
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(2), D3D_OK); // no faces
    EXPECT_EQ(mesh->DrawSubset(7), D3D_OK); // no such subset
    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);

    ASSERT_EQ(recorder->Count(Op::DrawIndexedPrimitive), 2u);
    const auto& second = recorder->Call<Op::DrawIndexedPrimitive>(0);
    EXPECT_EQ(second.PrimitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(second.startIndex, 3u);
    EXPECT_EQ(second.primCount, 2u);
    EXPECT_EQ(second.MinVertexIndex, table[1].VertexStart);
    EXPECT_EQ(second.NumVertices, table[1].VertexCount);
    const auto& first = recorder->Call<Op::DrawIndexedPrimitive>(1);
    EXPECT_EQ(first.startIndex, 0u);
    EXPECT_EQ(first.primCount, 1u);

    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(mesh->GetVertexBuffer(&vertices), D3D_OK);
    const DeviceState& bound = recorder->Bound(Op::DrawIndexedPrimitive, 0);
    EXPECT_EQ(bound.streams[0].buffer, vertices);
    EXPECT_EQ(bound.streams[0].stride, 32u);
    EXPECT_NE(bound.vertexDeclaration, nullptr);
    EXPECT_NE(bound.indices, nullptr);
    vertices->Release();
}

TEST_F(D3DXMeshTest, WithoutThe32BitOptionIndicesAreSixteenBitsInTheDefaultPool)
{
    ASSERT_EQ(Load(ThreeMaterials, 0), D3D_OK);
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(mesh->GetIndexBuffer(&indices), D3D_OK);
    EXPECT_EQ(indices->Desc().Format, D3DFMT_INDEX16);
    EXPECT_EQ(indices->Desc().Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(recorder->BufferBytes(*indices).size(), 9 * sizeof(uint16_t));
    indices->Release();
}

TEST_F(D3DXMeshTest, RefusalsLeaveNothingBehind)
{
    const size_t before = recorder->LiveObjects().size();
    EXPECT_EQ(Load("xof 0303txt 0032\nMesh {\n 1;\n"), D3DXERR_INVALIDDATA);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(materials, nullptr);

    // Adjacency is not made here, so asking for it is refused rather than left unanswered.
    ID3DXBuffer* adjacency = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXInMemory(ThreeMaterials.data(), static_cast<DWORD>(ThreeMaterials.size()),
                                        D3DXMESH_32BIT, device, &adjacency, nullptr, nullptr, nullptr, &mesh),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(Load(ThreeMaterials, D3DXMESH_32BIT | D3DXMESH_VB_MANAGED), D3DERR_INVALIDCALL);

    // A device that refuses the index buffer: the vertex buffer already made goes again.
    recorder->FailCall(Op::CreateIndexBuffer, 0, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Load(ThreeMaterials), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(materials, nullptr);
    EXPECT_EQ(recorder->LiveObjects().size(), before);
}

} // namespace
