#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/XMeshLoader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Triangle = std::array<std::array<float, 3>, 3>;

XMesh Load(const std::string& text)
{
    return LoadXMesh(text.data(), text.size());
}

std::string FailureOf(const std::string& text)
{
    try {
        Load(text);
    } catch (const D3DXDataError& e) {
        return e.what();
    }
    return "loaded";
}

// The triangles of a subset as their corners' positions, in index order, so that the winding shows.
std::vector<Triangle> Triangles(const XMesh& mesh, const XMeshSubset& subset)
{
    std::vector<Triangle> out;
    for (uint32_t f = subset.faceStart; f < subset.faceStart + subset.faceCount; ++f) {
        Triangle t;
        for (int c = 0; c < 3; ++c) {
            const uint32_t index = mesh.indices[3 * f + c];
            EXPECT_GE(index, subset.vertexStart);
            EXPECT_LT(index, subset.vertexStart + subset.vertexCount);
            const XMeshVertex& v = mesh.vertices.at(index);
            t[c] = {v.position[0], v.position[1], v.position[2]};
        }
        out.push_back(t);
    }
    return out;
}

const XMeshVertex& VertexAt(const XMesh& mesh, std::array<float, 3> position)
{
    for (const XMeshVertex& v : mesh.vertices)
        if (v.position[0] == position[0] && v.position[1] == position[1] && v.position[2] == position[2])
            return v;
    throw std::runtime_error("no vertex at that position");
}

// Three faces over five vertices: a triangle and a second triangle with material 1, a quad with
// material 0, and a third material no face uses. The quad reaches back to z = -1, the texture
// coordinates are lopsided in v and the normals are not of unit length: all must come out as the
// file has them (normals normalised).
const std::string ThreeMaterials = R"(xof 0303txt 0032
// a comment, and a template, which is skipped
template Vector {
 <3D82AB5E-62DA-11CF-AB39-0020AF71E433>
 FLOAT x; FLOAT y; FLOAT z;
}
Header { 1; 0; 1; }
Mesh Test {
 5;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 1.0;1.0;0.0;,
 0.0;1.0;0.0;,
 0.0;0.0;-1.0;;
 3;
 3;0,1,2;,
 4;0,2,3,4;,
 3;0,3,1;;
 MeshNormals {
  2;
  0.0;0.0;-2.0;,
  0.0;3.0;0.0;;
  3;
  3;0,0,0;,
  4;1,1,1,1;,
  3;0,0,0;;
 }
 MeshTextureCoords {
  5;
  0.0;0.0;,
  1.0;0.0;,
  1.0;0.25;,
  0.0;0.75;,
  0.5;0.1;;
 }
 MeshMaterialList {
  3;
  3;
  1,
  0,
  1;;
  Material Red {
   1.0;0.0;0.0;0.5;;
   8.0;
   0.1;0.2;0.3;;
   0.4;0.5;0.6;;
   TextureFilename { "red.png"; }
  }
  Material Green {
   0.0;1.0;0.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
  Material Blue {
   0.0;0.0;1.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
}
)";

std::string MeshBody(const std::string& vertices, const std::string& faces, const std::string& rest = "")
{
    return "xof 0303txt 0032\nMesh {\n" + vertices + "\n" + faces + "\n" + rest + "}\n";
}

const std::string ThreeVertices = "3;\n0.0;0.0;0.0;,\n1.0;0.0;0.0;,\n0.0;1.0;0.0;;";
const std::string OneTriangle = "1;\n3;0,1,2;;";

} // namespace

TEST(XMeshLoaderTest, KeepsTheFilesPositionsWindingAndTextureCoordinates)
{
    const XMesh mesh = Load(ThreeMaterials);
    ASSERT_EQ(mesh.subsets.size(), 3u);
    // Subset 0: the quad, split as a fan from its first corner.
    EXPECT_EQ(Triangles(mesh, mesh.subsets[0]),
              (std::vector<Triangle>{{{{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}}, {{{0, 0, 0}, {0, 1, 0}, {0, 0, -1}}}}));
    // Subset 1: faces 0 and 2 in file order.
    EXPECT_EQ(Triangles(mesh, mesh.subsets[1]),
              (std::vector<Triangle>{{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}, {{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}}}));
    EXPECT_EQ(mesh.subsets[2].faceCount, 0u);
    EXPECT_EQ(mesh.subsets[2].vertexCount, 0u);
    EXPECT_EQ(mesh.indices.size(), 12u);

    const XMeshVertex& lopsided = VertexAt(mesh, {1, 1, 0});
    EXPECT_EQ(lopsided.texCoord[0], 1.0f);
    EXPECT_EQ(lopsided.texCoord[1], 0.25f);
    EXPECT_EQ(VertexAt(mesh, {0, 1, 0}).texCoord[1], 0.75f);
    EXPECT_NEAR(VertexAt(mesh, {0, 0, -1}).texCoord[1], 0.1f, 1e-7f);
    EXPECT_EQ(VertexAt(mesh, {0, 0, -1}).normal[1], 1.0f);
    EXPECT_EQ(VertexAt(mesh, {1, 0, 0}).normal[2], -1.0f);
}

TEST(XMeshLoaderTest, MaterialsInFileOrderOneSubsetEach)
{
    const XMesh mesh = Load(ThreeMaterials);
    ASSERT_EQ(mesh.materials.size(), 3u);
    const XMeshMaterial& red = mesh.materials[0];
    EXPECT_EQ(std::vector<float>(red.diffuse, red.diffuse + 4), (std::vector<float>{1, 0, 0, 0.5f}));
    EXPECT_EQ(std::vector<float>(red.ambient, red.ambient + 4), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_EQ(std::vector<float>(red.specular, red.specular + 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(std::vector<float>(red.emissive, red.emissive + 4), (std::vector<float>{0.4f, 0.5f, 0.6f, 1}));
    EXPECT_EQ(red.power, 8.0f);
    EXPECT_EQ(mesh.materials[1].diffuse[1], 1.0f);
    EXPECT_EQ(mesh.materials[2].diffuse[2], 1.0f);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(mesh.subsets[i].attribId, i);
    EXPECT_EQ(mesh.subsets[0].faceStart, 0u);
    EXPECT_EQ(mesh.subsets[1].faceStart, 2u);
    EXPECT_EQ(mesh.subsets[1].vertexStart, mesh.subsets[0].vertexCount);
}

TEST(XMeshLoaderTest, WithoutAMaterialListAllFacesGetTheDefaultMaterial)
{
    const XMesh mesh = Load(MeshBody(ThreeVertices, OneTriangle));
    ASSERT_EQ(mesh.materials.size(), 1u);
    ASSERT_EQ(mesh.subsets.size(), 1u);
    EXPECT_EQ(mesh.subsets[0].faceCount, 1u);
    EXPECT_EQ(std::vector<float>(mesh.materials[0].diffuse, mesh.materials[0].diffuse + 4),
              (std::vector<float>{0.5f, 0.5f, 0.5f, 0.0f}));
    EXPECT_EQ(mesh.vertices[0].normal[0], 0.0f); // no normals, no texture coordinates: zeros
    EXPECT_EQ(mesh.vertices[0].texCoord[1], 0.0f);

    // A zero normal cannot be normalised and stays zero.
    const XMesh flat = Load(MeshBody(ThreeVertices, OneTriangle, "MeshNormals { 1; 0.0;0.0;0.0;; 1; 3;0,0,0;; }"));
    for (const XMeshVertex& v : flat.vertices)
        EXPECT_EQ(std::vector<float>(v.normal, v.normal + 3), (std::vector<float>{0, 0, 0}));
}

TEST(XMeshLoaderTest, FrameTransformsApplyInnerFirst)
{
    // Inner frame: z scaled by 2; outer frame: moved by (10, 0, 0). Row-vector matrices as .x stores them.
    const std::string text = R"(xof 0303txt 0032
Frame Outer {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 10.0,0.0,0.0,1.0;; }
 Frame Inner {
  FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,2.0,0.0, 0.0,0.0,0.0,1.0;; }
  Mesh {
   3;
   0.0;0.0;1.0;,
   1.0;0.0;1.0;,
   0.0;1.0;1.0;;
   1;
   3;0,1,2;;
   MeshNormals { 1; 1.0;0.0;1.0;; 1; 3;0,0,0;; }
  }
 }
}
)";
    const XMesh mesh = Load(text);
    EXPECT_EQ(Triangles(mesh, mesh.subsets[0]), (std::vector<Triangle>{{{{10, 0, 2}, {11, 0, 2}, {10, 1, 2}}}}));
    // Normals follow the inverse transpose: (1, 0, 1) becomes (1, 0, 0.5), normalised (2, 0, 1) / sqrt(5).
    EXPECT_NEAR(mesh.vertices[0].normal[0], 2.0f / std::sqrt(5.0f), 1e-6f);
    EXPECT_NEAR(mesh.vertices[0].normal[2], 1.0f / std::sqrt(5.0f), 1e-6f);
}

TEST(XMeshLoaderTest, IndicesOutOfRangeAreRefusedBeforeAssimpReadsThem)
{
    // assimp's reader lets an index equal to the vertex count through and reads past its array.
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, "1;\n3;0,1,3;;")),
              "line 8: face 0 refers to index 3 but there are 3 vertices");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshNormals { 1; 0.0;0.0;1.0;; 1; 3;0,1,0;; }")),
              "line 9: the normals of face 0 refers to index 1 but there are 1 normals");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshNormals { 1; 0.0;0.0;1.0;; 1; 2;0,0;; }")),
              "line 9: face 0 has 3 corners but 2 normals");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshTextureCoords { 2; 0.0;0.0;, 1.0;1.0;; }")),
              "line 9: there are 2 texture coordinates for 3 vertices");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, "1;\n2;0,1;;")), "line 8: face 0 has 2 corners; a face needs at least 3");
    // Without vertices assimp's reader lets index 0 through and reads from an empty array.
    EXPECT_EQ(FailureOf(MeshBody("0;", OneTriangle)), "line 5: face 0 refers to index 0 but there are 0 vertices");
}

TEST(XMeshLoaderTest, MaterialListsMustMatchTheirFaces)
{
    const std::string material = "Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }";
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshMaterialList { 1; 1; 1;; " + material + " }")),
              "line 9: the material of face 0 refers to index 1 but there are 1 materials");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshMaterialList { 2; 1; 0;; " + material + " }")),
              "line 9: the material list declares 2 materials but holds 1");
    // assimp would look up material 0 of an empty list.
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshMaterialList { 0; 1; 0;; }")),
              "line 9: a material list without materials");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "MeshMaterialList { 1; 1; 0;; { Shared } }")),
              "line 9: references to materials are not supported; give each material in place");
}

TEST(XMeshLoaderTest, WhatThisLoaderDoesNotReadIsRefusedByName)
{
    EXPECT_EQ(FailureOf(""), "no mesh data");
    EXPECT_EQ(FailureOf("hello, this is not a mesh at all"),
              "not a .x file: it must start with a header such as \"xof 0303txt 0032\"");
    EXPECT_EQ(FailureOf("xof 0303bin 0032" + std::string(40, '\0')),
              "only text .x files are supported (\"xof 0303txt 0032\"), not the format 'bin '");
    EXPECT_EQ(FailureOf("xof 0303txt 0032\nHeader { 1; 0; 1; }\n"), "the file holds no mesh");
    const std::string mesh = "Mesh {\n" + ThreeVertices + "\n" + OneTriangle + "\n}\n";
    EXPECT_EQ(FailureOf("xof 0303txt 0032\n" + mesh + mesh), "line 10: a second mesh: only one mesh per file is supported");
    EXPECT_EQ(FailureOf(MeshBody(ThreeVertices, OneTriangle, "SkinWeights { \"bone\"; 0; }")),
              "line 9: skinned meshes are not supported");
    EXPECT_EQ(FailureOf("xof 0303txt 0032\nAnimationSet { }\n" + mesh), "line 2: animations are not supported");
    EXPECT_EQ(FailureOf("xof 0303txt 0032\nMesh W\xc3\xbcrfel {\n"), "line 2: a byte outside ASCII outside a string or a comment");

    std::string deep = "xof 0303txt 0032\n";
    for (int i = 0; i < 33; ++i)
        deep += "Frame {\n";
    EXPECT_EQ(FailureOf(deep), "line 34: frames are nested more than 32 deep");
}

TEST(XMeshLoaderTest, TruncatedOrMalformedNumbersAreRefused)
{
    const std::string whole = MeshBody(ThreeVertices, OneTriangle);
    for (size_t keep = 18; keep < whole.size() - 2; keep += 3) {
        const std::string failure = FailureOf(whole.substr(0, keep));
        EXPECT_EQ(failure.rfind("line ", 0), 0u) << keep << ": " << failure;
    }
    // A count the data cannot back is found out at the end of the data, not by allocating for it.
    EXPECT_EQ(FailureOf("xof 0303txt 0032\nMesh {\n4000000000;\n0.0;0.0;0.0;,\n"),
              "line 5: expected a number such as 1, -0.5 or 2.5e-3");
    EXPECT_EQ(FailureOf(MeshBody("3;\n0,0;0.0;0.0;,\n1.0;0.0;0.0;,\n0.0;1.0;0.0;;", OneTriangle)),
              "line 4: write the number before ',' with a decimal point (\"1.0,\" rather than \"1,\")");
    EXPECT_EQ(FailureOf(MeshBody("3;\n0.0;0.0;0.0;,\n1e39;0.0;0.0;,\n0.0;1.0;0.0;;", OneTriangle)),
              "the mesh holds a coordinate that is not a finite number");
    EXPECT_EQ(FailureOf(MeshBody("3;\n-.5;0.0;0.0;,\n1.;0.0;0.0;,\n0.0;1.0;0.0;;", OneTriangle)),
              "line 5: expected a number such as 1, -0.5 or 2.5e-3");
}
