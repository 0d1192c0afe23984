// Loading one effect: the compiled file from the archive, its annotated textures, its messages.
#include "Support/DXEffectFixture.h"

#include "Platform/Gfx/Recorder/LiveObject.h"

#include <algorithm>

namespace {

std::string TextureParameter(int n, const std::string& annotations)
{
    return "texture2D Tex" + std::to_string(n) + " : TEXTURE" + std::to_string(n) + " < " + annotations + " >;\n";
}

const std::string Technique = R"(
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
)";

size_t LiveTextures(const Recorder& recorder)
{
    const auto objects = recorder.LiveObjects();
    return std::count_if(objects.begin(), objects.end(), [](const LiveObject& object) {
        return object.kind == ObjectKind::Texture || object.kind == ObjectKind::CubeTexture;
    });
}

} // namespace

class DXEffectTest : public DXEffectFixture {
protected:
    DXEffect& Load(const std::string& source, ArchiveEntries entries = {})
    {
        entries["OShaders\\probe.fxo"] = CompileEffect(source + Technique);
        Start(entries);
        texturesBefore = recorder->Count(Op::CreateTexture);
        DXEffectHandler::Instance()->AddEffect("probe", "probe.fx", framework->effectPool);
        return *DXEffectHandler::Instance()->GetEffect("probe");
    }

    size_t texturesBefore = 0; // made by device setup

    // The texture loaded for a parameter, by its name (the map is keyed by handle).
    static IDirect3DBaseTexture9* TextureOf(DXEffect& effect, const char* parameter)
    {
        return effect.textures.at(effect.effect->GetParameterByName(nullptr, parameter));
    }
    static UINT Levels(DXEffect& effect, const char* parameter)
    {
        IDirect3DBaseTexture9* texture = TextureOf(effect, parameter);
        return texture ? texture->GetLevelCount() : 0;
    }
};

TEST_F(DXEffectTest, EveryTextureSemanticUpToThirtyOneIsProbedAndLoadedInOrder)
{
    DXEffect& effect = Load(TextureParameter(7, "string ResourceName = \"b.png\";") +
                                TextureParameter(0, "string ResourceName = \"a.png\";") +
                                TextureParameter(32, "string ResourceName = \"never.png\";"),
                            {{"Data\\a.png", SolidPng(4, 4, 255, 0, 0)}, {"Data\\b.png", SolidPng(2, 2, 0, 255, 0)}});
    ASSERT_TRUE(effect.loaded);
    ASSERT_EQ(effect.textureParameters.size(), 2u);
    EXPECT_STREQ(effect.textureParameters[0], "Tex0");
    EXPECT_STREQ(effect.textureParameters[1], "Tex7");
    EXPECT_TRUE(boxes.empty()) << "TEXTURE32 is never probed, so its missing file is never read";
    for (const D3DXHANDLE parameter : effect.textureParameters) {
        IDirect3DBaseTexture9* set = nullptr;
        ASSERT_EQ(effect.effect->GetTexture(parameter, &set), D3D_OK);
        EXPECT_EQ(set, effect.textures.at(parameter)) << parameter;
        EXPECT_NE(set, nullptr);
        set->Release();
    }
    EXPECT_EQ(Levels(effect, "Tex0"), 3u) << "4x4 with its full chain";
}

TEST_F(DXEffectTest, OnlyFilterNoneInCapitalsLoadsASingleLevel)
{
    DXEffect& effect = Load(TextureParameter(0, "string ResourceName = \"i.png\"; string Filter = \"NONE\";") +
                                TextureParameter(1, "string ResourceName = \"i.png\"; string Filter = \"none\";") +
                                TextureParameter(2, "string ResourceName = \"i.png\"; string Filter = \"POINT\";") +
                                TextureParameter(3, "string ResourceName = \"i.png\";"),
                            {{"Data\\i.png", SolidPng(8, 8, 1, 2, 3)}});
    EXPECT_EQ(Levels(effect, "Tex0"), 1u);
    EXPECT_EQ(Levels(effect, "Tex1"), 4u);
    EXPECT_EQ(Levels(effect, "Tex2"), 4u);
    EXPECT_EQ(Levels(effect, "Tex3"), 4u);
    EXPECT_NE(TextureOf(effect, "Tex1"), TextureOf(effect, "Tex2")) << "one file named twice loads twice";
    EXPECT_EQ(recorder->Count(Op::CreateTexture) - texturesBefore, 4u);
}

TEST_F(DXEffectTest, OnlyTypeCubeInCapitalsLoadsACubeAndOtherTypesLoadNothingWithoutABox)
{
    DXEffect& effect = Load(R"(
textureCUBE Sky : TEXTURE0 < string ResourceName = "sky.png"; string Type = "CUBE"; >;
textureCUBE Low : TEXTURE1 < string ResourceName = "sky.png"; string Type = "cube"; >;
texture3D Vol : TEXTURE2 < string ResourceName = "sky.png"; string Type = "3D"; >;
)",
                            {{"Data\\sky.png", SolidPng(4, 24, 9, 9, 9)}});
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(effect.textureParameters.size(), 3u) << "every type case keeps its parameter";
    ASSERT_NE(TextureOf(effect, "Sky"), nullptr);
    EXPECT_EQ(TextureOf(effect, "Sky")->GetType(), D3DRTYPE_CUBETEXTURE);
    EXPECT_EQ(TextureOf(effect, "Low"), nullptr);
    EXPECT_EQ(TextureOf(effect, "Vol"), nullptr);
    EXPECT_EQ(recorder->Count(Op::CreateCubeTexture), 1u);
}

TEST_F(DXEffectTest, AMissingOrBrokenTextureShowsItsBoxAndLoadingGoesOn)
{
    DXEffect& effect = Load(TextureParameter(0, "string ResourceName = \"gone.png\";") +
                                TextureParameter(1, "string ResourceName = \"junk.png\";") +
                                TextureParameter(2, "string ResourceName = \"fine.png\";") +
                                TextureParameter(3, "string Filter = \"NONE\";") +
                                TextureParameter(4, "string ResourceName = \"deep.ppm\";"),
                            {{"Data\\junk.png", Bytes("not an image")},
                             {"Data\\fine.png", SolidPng(1, 1, 0, 0, 0)},
                             // 16 bits a sample in 16 bytes: crashed the image decoder once.
                             {"Data\\deep.ppm", Bytes(std::string("P6\n36\n344\n626\n\xff\xff", 16))}});
    EXPECT_EQ(boxes, (std::vector<std::string>{"Couldnt read file|gone.png", "Couldnt read file|junk.png",
                                               "Couldnt read file|deep.ppm"}));
    EXPECT_TRUE(effect.loaded);
    EXPECT_EQ(TextureOf(effect, "Tex0"), nullptr);
    EXPECT_EQ(TextureOf(effect, "Tex1"), nullptr);
    EXPECT_NE(TextureOf(effect, "Tex2"), nullptr);
    EXPECT_EQ(TextureOf(effect, "Tex4"), nullptr);
    EXPECT_EQ(effect.textureParameters.size(), 4u) << "a parameter without a file name is left alone";
}

TEST_F(DXEffectTest, StandardHandlesAreResolvedAndTexturesGoWithTheEffect)
{
    DXEffect& effect = Load("float4x4 World : LOCAL;\nfloat4 Diffuse : DIFFUSE;\n" +
                                TextureParameter(0, "string ResourceName = \"t.png\";"),
                            {{"Data\\t.png", SolidPng(2, 2, 5, 5, 5)}});
    EXPECT_STREQ(effect.LOCAL, "World");
    EXPECT_STREQ(effect.DIFFUSE, "Diffuse");
    EXPECT_EQ(effect.LOCALVIEWPROJ, nullptr);
    EXPECT_EQ(effect.MATTEX, nullptr);
    const size_t withEffect = LiveTextures(*recorder);
    DXEffectHandler::Instance()->DestroyEffect("probe");
    EXPECT_EQ(LiveTextures(*recorder), withEffect - 1) << "neither the DXEffect nor the effect keeps the texture";
}

TEST_F(DXEffectTest, FailuresCarryTheirExactTexts)
{
    Start({{"OShaders\\broken.fxo", Bytes("QLFX and then nothing sensible")},
           {"OShaders\\source.fxo", Bytes("float A;\n#include \"nowhere.fxh\"\n")}});
    DXEffect effect;
    const auto failure = [&](const std::string& file) {
        try {
            effect.LoadEffect(file, framework->effectPool);
        } catch (const FrameworkEx& e) {
            return e.message;
        }
        return std::string("(loaded)");
    };
    EXPECT_EQ(failure(""), "Empty filename supplied to DXEffect::LoadEffect");
    EXPECT_EQ(failure("absent.fx"), "[DXFramework::CreateEffectFromFile]: can't find file \"OShaders\\absent.fxo\".");
    EXPECT_EQ(failure("source.fx"),
              "Could not Create effect from: source.fx\n\nmemory:2: cannot open include file \"nowhere.fxh\"\n");
    const std::string broken = failure("broken.fx");
    EXPECT_EQ(broken.rfind("Could not Create effect from: broken.fx\n\ncompiled effect", 0), 0u) << broken;
    EXPECT_FALSE(effect.loaded);
}

TEST_F(DXEffectTest, IncludesOfASourceAreReadFromShaders)
{
    Start({{"OShaders\\source.fxo", Bytes("#include \"common.fxh\"\n" + Technique)},
           {"Shaders\\common.fxh", Bytes("shared float Time : TIME;\n")}});
    DXEffectHandler::Instance()->AddEffect("source", "source.fx", framework->effectPool);
    DXEffect& effect = *DXEffectHandler::Instance()->GetEffect("source");
    EXPECT_NE(effect.GetHandleBySemantic("TIME"), nullptr);
}
