// Meshes from the archive: their materials, the exact load failure, and drawing subset by subset
// with each material's colours reaching the active effect.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/DXMesh/DXMesh.h"

namespace {

// Two faces with material 1, then one with material 0: material i belongs to subset i, whatever
// order the faces come in.
const std::string TwoMaterials = R"(xof 0303txt 0032
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
  2;
  3;
  1,
  1,
  0;;
  Material Red {
   1.0;0.0;0.0;0.5;;
   8.0;
   0.1;0.2;0.3;;
   0.4;0.5;0.6;;
   TextureFilename { "red.png"; }
  }
  Material Green {
   0.0;1.0;0.0;1.0;;
   2.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
}
)";

const std::string MaterialEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4 Diffuse : DIFFUSE;
float4 Ambient : AMBIENT;
texture2D MaterialTexture : MATTEX;
sampler2D MaterialSampler = sampler_state { Texture = MaterialTexture; };
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0) {
    void main() { Color = Diffuse + Ambient + texture(MaterialSampler, vec2(0.5)); }
}
technique Default {
    pass Base { VertexShader = V; PixelShader = F; }
    pass Glow { VertexShader = V; PixelShader = F; AlphaBlendEnable = TRUE; }
}
)";

const std::string PlainEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
)";

std::vector<float> FloatsOf(const D3DXVECTOR4& v)
{
    return {v.x, v.y, v.z, v.w};
}

} // namespace

class DXMeshTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"Data\\two.x", Bytes(TwoMaterials)},
               {"Data\\broken.x", Bytes("xof 0303txt 0032\nMesh {\n 1;\n")},
               {"OShaders\\material.fxo", CompileEffect(MaterialEffect)},
               {"OShaders\\plain.fxo", CompileEffect(PlainEffect)}});
        DXEffectHandler::Instance()->AddEffect("material", "material.fx", framework->effectPool);
        DXEffectHandler::Instance()->AddEffect("plain", "plain.fx", framework->effectPool);
    }

    // Draws the mesh through every pass of the named effect's Default technique, in a scene.
    void DrawWith(const std::string& effect, DXMesh& mesh)
    {
        DXEffectHandler::SetActiveEffect(effect);
        DXFramework::device->BeginScene();
        DXEffectHandler::DrawObject(mesh);
        DXFramework::device->EndScene();
    }
};

TEST_F(DXMeshTest, MaterialsComeInFileOrderWithTheirColoursAndNoTexture)
{
    DXMesh mesh("", 0);
    mesh.LoadX("two.x");
    ASSERT_EQ(mesh.materialCount, 2u);
    ASSERT_EQ(mesh.materials.size(), 2u);
    const MeshMaterial& red = mesh.materials[0];
    EXPECT_EQ(FloatsOf(red.diffuse), (std::vector<float>{1.0f, 0.0f, 0.0f, 0.5f}));
    EXPECT_EQ(FloatsOf(red.specular), (std::vector<float>{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(FloatsOf(red.emissive), (std::vector<float>{0.4f, 0.5f, 0.6f, 1.0f}));
    EXPECT_EQ(red.power, 8.0f);
    EXPECT_EQ(red.texture, nullptr); // "red.png" is named but never read
    EXPECT_EQ(FloatsOf(mesh.materials[1].diffuse), (std::vector<float>{0.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(mesh.materials[1].power, 2.0f);
    EXPECT_EQ(mesh.worldMatrix, IdentityMatrix());
    EXPECT_EQ(mesh.previousWorldMatrix, IdentityMatrix());
}

TEST_F(DXMeshTest, AFileThatCannotBeLoadedGivesTheExactMessageAndNoGeometry)
{
    DXMesh missing("", 0);
    EXPECT_EQ(FrameworkFailure([&] { missing.LoadX("boxShape.x"); }),
              "[DXMesh::LoadX]: failed to load \"boxShape.x\".");
    EXPECT_EQ(missing.mesh, nullptr);
    EXPECT_TRUE(missing.materials.empty());

    DXMesh refused("", 0);
    EXPECT_EQ(FrameworkFailure([&] { refused.LoadX("broken.x"); }), "[DXMesh::LoadX]: failed to load \"broken.x\".");
    EXPECT_EQ(refused.materialCount, 0u);
}

TEST_F(DXMeshTest, EachSubsetIsDrawnInEveryPassWithItsOwnMaterial)
{
    DXMesh mesh("", 0);
    mesh.LoadX("two.x");
    DXEffectHandler::SetActiveEffect("material");
    // A texture left in MATTEX by an earlier draw must not reach the mesh's subsets.
    IDirect3DBaseTexture9* stale = DXFramework::Instance()->noiseVolume;
    DXEffectHandler::SetTextureBySemantic("MATTEX", stale);
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    DrawWith("material", mesh);

    ASSERT_EQ(recorder->Count(Op::DrawIndexedPrimitive) - first, 4u); // two subsets in two passes
    for (size_t pass = 0; pass < 2; ++pass)
        for (size_t subset = 0; subset < 2; ++subset) {
            const size_t index = first + 2 * pass + subset;
            const EffectPassSnapshot& seen = draws.Draw(index);
            EXPECT_EQ(seen.pass, pass == 0 ? "Base" : "Glow");
            EXPECT_TRUE(seen.committed);
            EXPECT_EQ(seen.Floats("DIFFUSE"), FloatsOf(mesh.materials[subset].diffuse)) << index;
            EXPECT_EQ(seen.Floats("AMBIENT"), FloatsOf(mesh.materials[subset].ambient)) << index;
            EXPECT_EQ(seen.Texture("MATTEX"), nullptr) << index;
            // Subset 0 is the one triangle of material 0, subset 1 the two of material 1.
            EXPECT_EQ(recorder->Call<Op::DrawIndexedPrimitive>(index).primCount, subset == 0 ? 1u : 2u);
        }
}

TEST_F(DXMeshTest, AnEffectWithoutMaterialParametersStillDrawsEverySubset)
{
    DXMesh mesh("", 0);
    mesh.LoadX("two.x");
    const size_t snapshots = draws.Snapshots().size();
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    DrawWith("plain", mesh);
    EXPECT_EQ(recorder->Count(Op::DrawIndexedPrimitive) - first, 2u);
    // BeginPass, then one CommitChanges per subset.
    EXPECT_EQ(draws.Snapshots().size() - snapshots, 3u);
}

TEST_F(DXMeshTest, MaterialColourSettersChangeOnlyThatColourOfEveryMaterial)
{
    DXMesh mesh("", 0);
    mesh.LoadX("two.x");
    const std::vector<MeshMaterial> before = mesh.materials;
    const D3DXVECTOR4 faded{0.25f, 0.5f, 0.75f, 0.0f};
    mesh.SetMaterialDiffuse(faded);
    mesh.SetMaterialAmbient({1.0f, 1.0f, 1.0f, 1.0f});
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        EXPECT_EQ(FloatsOf(mesh.materials[i].diffuse), FloatsOf(faded));
        EXPECT_EQ(FloatsOf(mesh.materials[i].ambient), (std::vector<float>{1, 1, 1, 1}));
        EXPECT_EQ(FloatsOf(mesh.materials[i].specular), FloatsOf(before[i].specular));
        EXPECT_EQ(FloatsOf(mesh.materials[i].emissive), FloatsOf(before[i].emissive));
        EXPECT_EQ(mesh.materials[i].power, before[i].power);
    }
}

TEST_F(DXMeshTest, LoadingAgainReplacesTheFirstFile)
{
    DXMesh mesh("", 0);
    mesh.LoadX("two.x");
    mesh.LoadX("two.x");
    EXPECT_EQ(mesh.materialCount, 2u);
    EXPECT_EQ(mesh.materials.size(), 2u);
}
