// The compiled form: what is saved loads back the same, and data that is cut short, corrupt or
// inconsistent is refused with a message naming it, without reading outside the bytes.
#include "EffectSource.h"

#include "Platform/Fx/CompiledEffect.h"
#include "Platform/Fx/EffectError.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace fx;

namespace {

const char* const RichEffect = R"(#include "common.fxh"
float2 Texel : RTDIMPIXELINV = {0.5, -0.25};
float3 Kernel[16] : SSAOKERNEL;
texture2D Dots : TEXTURE0 < string ResourceName = "dots.png"; string Filter = "NONE"; >;
textureCUBE Env : CUBETX;
sampler2D DotSampler = sampler_state { Texture = Dots; Filter = ANISOTROPIC; MaxAnisotropy = 4; BorderColor = {0, 0.5, 1, 1}; Address = BORDER; };
samplerCUBE EnvSampler = sampler_state { Texture = Env; MinFilter = LINEAR; AddressV = MIRROR; };
glsl vertex Sprite(vec3 Centre : POSITION0, vec4 Tint : COLOR0, vec2 Uv : TEXCOORD0, vec3 Previous : POSITION1) {
    out vec4 tint;
    void main() { gl_Position = vec4(Centre + Previous, 1.0) * ViewProj; tint = Tint + vec4(Uv, 0.0, 0.0); }
}
glsl fragment Particle(vec4 Color : COLOR0, vec2 Velocity : COLOR1) {
    in vec4 tint;
    void main() { Color = tint * texture(DotSampler, Texel); Velocity = vec2(0.0); }
}
technique Particle {
    pass Colour { VertexShader = Sprite; PixelShader = Particle; AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; ZWriteEnable = FALSE; }
    pass Depth { VertexShader = Sprite; PixelShader = Particle; ColorWriteEnable = 0; }
}
)";

const IncludeFiles Common{{"common.fxh", "shared float4x4 ViewProj : VIEWPROJ;\nshared float Time : TIME = 1.5;\n"}};

EffectDescription Rich()
{
    return ParseSource(RichEffect, Common);
}

std::string LoadFault(const std::vector<unsigned char>& bytes)
{
    try {
        LoadCompiledEffect("Rich.fxo", bytes);
    } catch (const EffectError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "loaded without a fault";
    return "";
}

// A description the parser would refuse, saved as it is, so that the loader's own checks are seen.
std::string LoadFaultOf(EffectDescription effect)
{
    return LoadFault(SaveCompiledEffect(effect));
}

} // namespace

TEST(CompiledEffectTest, ASavedEffectLoadsBackEqualAndSavesToTheSameBytes)
{
    const EffectDescription effect = Rich();
    const std::vector<unsigned char> bytes = SaveCompiledEffect(effect);
    const EffectDescription loaded = LoadCompiledEffect("Rich.fxo", bytes);
    EXPECT_EQ(loaded, effect);
    EXPECT_EQ(SaveCompiledEffect(loaded), bytes);
    EXPECT_TRUE(IsCompiledEffect(bytes));
    const std::string source = RichEffect;
    EXPECT_FALSE(IsCompiledEffect(std::vector<unsigned char>(source.begin(), source.end())));
}

TEST(CompiledEffectTest, StartsWithTheSignatureAndVersionOne)
{
    const std::vector<unsigned char> bytes = SaveCompiledEffect(Rich());
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QLFX");
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[5] | bytes[6] | bytes[7], 0);
}

TEST(CompiledEffectTest, EveryTruncationIsRefusedAsCutShort)
{
    const std::vector<unsigned char> bytes = SaveCompiledEffect(Rich());
    for (size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        const std::string fault = LoadFault(cut);
        if (size < 4)
            EXPECT_EQ(fault, "Rich.fxo: not a compiled effect (it does not start with \"QLFX\") (at byte 0)");
        else
            EXPECT_TRUE(fault.find("compiled effect is cut short") != std::string::npos ||
                        fault.find("remaining bytes can hold") != std::string::npos)
                << size << ": " << fault;
    }
}

TEST(CompiledEffectTest, HeaderFaultsSayWhatIsWrong)
{
    std::vector<unsigned char> bytes = SaveCompiledEffect(Rich());
    std::vector<unsigned char> magic = bytes;
    magic[0] = 'X';
    EXPECT_EQ(LoadFault(magic), "Rich.fxo: not a compiled effect (it does not start with \"QLFX\") (at byte 0)");
    std::vector<unsigned char> version = bytes;
    version[4] = 2;
    EXPECT_EQ(LoadFault(version), "Rich.fxo: compiled effect of version 2; this build reads version 1 (at byte 8)");
    std::vector<unsigned char> trailing = bytes;
    trailing.push_back(0);
    EXPECT_EQ(LoadFault(trailing), "Rich.fxo: unexpected data after the last technique: 1 byte(s) (at byte " +
                                       std::to_string(bytes.size()) + ")");
    // A file count far beyond the data is refused before anything is allocated for it.
    std::vector<unsigned char> huge = bytes;
    huge[8] = huge[9] = huge[10] = huge[11] = 0xff;
    EXPECT_EQ(LoadFault(huge), "Rich.fxo: compiled effect claims 4294967295 source files, more than its " +
                                   std::to_string(bytes.size() - 12) + " remaining bytes can hold (at byte 12)");
}

TEST(CompiledEffectTest, FlagsAndEnumerationsOutsideTheirValuesAreRefused)
{
    const std::vector<unsigned char> bytes = SaveCompiledEffect(Rich());
    // The first parameter follows the header, the file list and the parameter count; its shared
    // flag follows its name, kind, element count and semantic.
    const size_t parameter = 12 + 4 + std::strlen("effect.fx") + 4 + std::strlen("common.fxh") + 4;
    const size_t shared = parameter + 4 + std::strlen("ViewProj") + 1 + 4 + 4 + std::strlen("VIEWPROJ");
    ASSERT_EQ(bytes[shared], 1);
    std::vector<unsigned char> flag = bytes;
    flag[shared] = 2;
    EXPECT_EQ(LoadFault(flag), "Rich.fxo: the shared flag is 2, not 0 or 1 (at byte " + std::to_string(shared + 1) + ")");
    std::vector<unsigned char> kind = bytes;
    kind[parameter + 4 + std::strlen("ViewProj")] = 8;
    EXPECT_EQ(LoadFault(kind), "Rich.fxo: parameter ViewProj has an unknown kind");

    EffectDescription effect = Rich();
    effect.techniques[0].passes[0].states[1].value = 99;
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: pass Colour of technique Particle sets SrcBlend to invalid value 99");
    effect = Rich();
    effect.techniques[0].passes[1].states[0].value = 16;
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: pass Depth of technique Particle sets ColorWriteEnable to invalid value 16");
    effect = Rich();
    effect.techniques[0].passes[0].states[0].state = static_cast<RenderState>(15);
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: pass Colour of technique Particle sets unknown render state 15");
    effect = Rich();
    effect.samplers[0].minFilter = TextureFilter::None;
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: sampler DotSampler has an invalid filter");
    effect = Rich();
    effect.samplers[1].addressU = static_cast<TextureAddress>(0);
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: sampler EnvSampler has an invalid address mode");
    effect = Rich();
    effect.shaders[0].stage = static_cast<ShaderStage>(2);
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: glsl block Sprite has an unknown stage");
}

TEST(CompiledEffectTest, ReferencesThatDoNotResolveAreRefused)
{
    EffectDescription effect = Rich();
    effect.techniques[0].passes[1].pixelShader = "Gone";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: pass Depth of technique Particle names no fragment block (\"Gone\")");
    effect = Rich();
    effect.techniques[0].passes[0].vertexShader = "Particle";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: pass Colour of technique Particle names no vertex block (\"Particle\")");
    effect = Rich();
    effect.samplers[0].texture = "Env";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: sampler DotSampler needs a texture parameter of its kind, not \"Env\"");
    effect = Rich();
    effect.parameters[3].where.file = 2;
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: parameter Kernel names source file 2 of 2");
    effect = Rich();
    effect.shaders[0].variables[1].location = 3;
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: glsl block Sprite: Tint has a semantic or location its stage does not take");
    effect = Rich();
    effect.parameters[1].defaultValue.push_back(1.0f);
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: parameter Time has 2 initial values for 1 floats");
    effect = Rich();
    effect.parameters[2].semantic = "VIEWPROJ";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: semantic VIEWPROJ is given to two parameters");
    effect = Rich();
    effect.samplers[0].name = "Texel";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: the name Texel is declared twice");
    effect = Rich();
    effect.parameters[0].name = "gl_ViewProj";
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: parameter \"gl_ViewProj\" is not a valid name");
    effect = Rich();
    effect.techniques[0].passes.clear();
    EXPECT_EQ(LoadFaultOf(effect), "Rich.fxo: technique Particle has no pass");
}
