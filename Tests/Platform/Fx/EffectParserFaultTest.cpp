// Faults in effect sources: each message names the file and the line at fault and says what
// was expected, in the effect itself and in its includes.
#include "EffectSource.h"

#include <gtest/gtest.h>

namespace {

struct Fault {
    const char* source;
    const char* message;
};

const char* const Blocks = "glsl vertex V() { void main() { gl_Position = vec4(0.0); } }\n"
                           "glsl fragment F() { void main() {} }\n";

void ExpectFaults(std::initializer_list<Fault> faults, const IncludeFiles& includes = {})
{
    for (const Fault& fault : faults)
        EXPECT_EQ(ParseFault(fault.source, includes), fault.message) << fault.source;
}

} // namespace

TEST(EffectParserFaultTest, DeclarationFaultsNameTheLineAndWhatWasExpected)
{
    ExpectFaults({
        {"float2 Texel : RTDIMPIXELINV\nfloat Other;\n", "effect.fx:2: expected ';' to end the declaration of Texel, found 'float'"},
        {"\n\nflaot Texel;\n", "effect.fx:3: expected a declaration (a parameter, a sampler, a glsl block, a technique or #include), found 'flaot'"},
        {"shared sampler2D S;\n", "effect.fx:1: expected a parameter type after 'shared' (float, float2, float3, float4, float4x4, texture2D, textureCUBE or texture3D), found 'sampler2D'"},
        {"float4 ;\n", "effect.fx:1: expected a parameter name after 'float4', found ';'"},
        {"float A : ;\n", "effect.fx:1: expected a semantic after ':', found ';'"},
        {"float A : TIME;\nfloat B : TIME;\n", "effect.fx:2: semantic TIME is already given to A"},
        {"float A;\n\nfloat4 A;\n", "effect.fx:3: 'A' is already declared at effect.fx:1"},
        {"float gl_Time;\n", "effect.fx:1: 'gl_Time' is reserved by GLSL (names starting with gl_ or holding __)"},
        {"float K[49];\n", "effect.fx:1: expected an element count from 1 to 48 after '[', found number 49"},
        {"float K[0];\n", "effect.fx:1: expected an element count from 1 to 48 after '[', found number 0"},
        {"float K[2.5];\n", "effect.fx:1: expected an element count from 1 to 48 after '[', found number 2.5"},
        {"texture2D T[2];\n", "effect.fx:1: a texture cannot be an array"},
        {"float4x4 M[2];\n", "effect.fx:1: arrays of float4x4 are not supported; arrays hold float, float2, float3 or float4"},
        {"float2 V = {1,\n 2, 3};\n", "effect.fx:2: V holds 2 values; its initial value gives more"},
        {"float3 V =\n{1, 2};\n", "effect.fx:2: V holds 3 values; its initial value gives 2"},
        {"float V = {1};\n", "effect.fx:1: expected a number in the initial value of V, found '{'"},
        {"float V = 1e39;\n", "effect.fx:1: number 1e39 is out of the range of a float"},
        {"texture2D T = 1;\n", "effect.fx:1: a texture takes no initial value; textures are set by the engine or through annotations"},
        {"texture2D T < float Scale = 1; >;\n", "effect.fx:1: expected 'string' to begin an annotation (annotations are strings) or '>' to end them, found 'float'"},
        {"texture2D T < string A = \"x\"; string A = \"y\"; >;\n", "effect.fx:1: annotation A is given twice"},
        {"texture2D T < string A = 3; >;\n", "effect.fx:1: expected a string in double quotes as the value of A, found number 3"},
    });
}

TEST(EffectParserFaultTest, LexicalFaultsNameTheirLine)
{
    ExpectFaults({
        {"float A;\n/* never\nclosed\n", "effect.fx:2: comment opened here is never closed ('*/' expected)"},
        {"texture2D T < string A = \"open\n\"; >;\n", "effect.fx:1: string is not closed on its line ('\"' expected)"},
        {"texture2D T < string A = \"\\n\"; >;\n", "effect.fx:1: unknown escape in string: only \\\" and \\\\ are understood"},
        {"\n#define X 1\n", "effect.fx:2: unknown directive '#define': only #include is understood outside glsl blocks"},
        {"float A @;\n", "effect.fx:1: unexpected '@'"},
        {"float A = 1.5x;\n", "effect.fx:1: malformed number '1.5x'"},
        {"float A;\n\x01", "effect.fx:2: unexpected byte 0x01"},
    });
}

TEST(EffectParserFaultTest, SamplerFaultsNameTheLineAndTheTextureRule)
{
    ExpectFaults({
        {"texture2D T;\nsamplerCUBE S = sampler_state {\n Texture = T; };\n", "effect.fx:3: S needs a textureCUBE, but T is a texture2D"},
        {"float T;\nsampler2D S = sampler_state { Texture = T; };\n", "effect.fx:2: S needs a texture2D, but T is not a texture"},
        {"sampler2D S = sampler_state { Texture = Later; };\ntexture2D Later;\n", "effect.fx:1: no parameter named Later is declared before S"},
        {"texture2D T;\n\nsampler2D S = sampler_state { Filter = LINEAR; };\n", "effect.fx:3: sampler S has no Texture"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; Filter = NONE; };\n", "effect.fx:2: expected POINT, LINEAR or ANISOTROPIC as Filter, found 'NONE'"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; MipFilter = ANISOTROPIC; };\n", "effect.fx:2: expected NONE, POINT or LINEAR as MipFilter, found 'ANISOTROPIC'"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; Address = REPEAT; };\n", "effect.fx:2: expected WRAP, MIRROR, CLAMP, BORDER or MIRRORONCE as Address, found 'REPEAT'"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; MaxAnisotropy = 17; };\n", "effect.fx:2: expected a whole number from 1 to 16 as MaxAnisotropy, found number 17"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T;\n Texture = T; };\n", "effect.fx:3: Texture is given twice in S"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; Wrap = 1; };\n", "effect.fx:2: unknown sampler state Wrap (Texture, Filter, MinFilter, MagFilter, MipFilter, Address, AddressU, AddressV, AddressW, BorderColor or MaxAnisotropy)"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; BorderColor = {1, 2, 3}; };\n", "effect.fx:2: expected ',' between the four components of BorderColor, found '}'"},
        {"texture2D T;\nsampler2D S = sampler_state { Texture = T; }\nfloat A;\n", "effect.fx:3: expected ';' after the states of S, found 'float'"},
    });
}

TEST(EffectParserFaultTest, AnEffectHoldsAtMostSixteenSamplers)
{
    std::string source = "texture2D T;\n";
    for (int i = 0; i < 17; ++i)
        source += "sampler2D S" + std::to_string(i) + " = sampler_state { Texture = T; };\n";
    EXPECT_EQ(ParseFault(source), "effect.fx:18: an effect holds at most 16 samplers");
}

TEST(EffectParserFaultTest, ShaderBlockFaultsNameTheLineOfTheSignatureOrOfTheOpeningBrace)
{
    ExpectFaults({
        {"glsl vertex V(vec3 P : POSITION2) { }\n", "effect.fx:1: POSITION2 is no vertex input semantic; a vertex block takes POSITION0, NORMAL0, COLOR0, COLOR1, TEXCOORD0, TEXCOORD1, TEXCOORD2, TEXCOORD3, TEXCOORD4, TEXCOORD5, TEXCOORD6, TEXCOORD7, POSITION1, TANGENT0, BINORMAL0 or BLENDWEIGHT0"},
        {"glsl fragment F(vec4 C : COLOR4) { }\n", "effect.fx:1: COLOR4 is no colour output semantic; a fragment block takes COLOR0, COLOR1, COLOR2 or COLOR3"},
        {"glsl fragment F(vec4 C : TEXCOORD0) { }\n", "effect.fx:1: TEXCOORD0 is no colour output semantic; a fragment block takes COLOR0, COLOR1, COLOR2 or COLOR3"},
        {"glsl vertex V(vec3 P : TEXCOORD01) { }\n", "effect.fx:1: TEXCOORD01 is no vertex input semantic; a vertex block takes POSITION0, NORMAL0, COLOR0, COLOR1, TEXCOORD0, TEXCOORD1, TEXCOORD2, TEXCOORD3, TEXCOORD4, TEXCOORD5, TEXCOORD6, TEXCOORD7, POSITION1, TANGENT0, BINORMAL0 or BLENDWEIGHT0"},
        {"glsl vertex V(vec3 P : POSITION,\n vec3 Q : POSITION0) { }\n", "effect.fx:2: V takes POSITION0 twice (P and Q)"},
        {"glsl vertex V(vec3 P : POSITION0, vec2 P : TEXCOORD0) { }\n", "effect.fx:1: V declares P twice"},
        {"glsl vertex V(mat4 M : POSITION0) { }\n", "effect.fx:1: expected the GLSL type of a vertex input (float, vec2, vec3 or vec4), found 'mat4'"},
        {"glsl vertex V(vec3 P) { }\n", "effect.fx:1: expected ':' and a semantic after the vertex input P, found ')'"},
        {"glsl vertex V { }\n", "effect.fx:1: expected '(' to begin the vertex inputs of V (an empty list is '()'), found '{'"},
        {"glsl geometry G() { }\n", "effect.fx:1: expected vertex, fragment or common after 'glsl', found 'geometry'"},
        {"glsl vertex V() { }\nglsl fragment V() { }\n", "effect.fx:2: a glsl block named V is already declared at effect.fx:1"},
        {"float A;\nglsl vertex V() {\n void main() {\n", "effect.fx:2: '{' opened here is never closed ('}' expected)"},
        {"glsl common {\n /* open\n", "effect.fx:2: comment opened here is never closed ('*/' expected)"},
    });
}

TEST(EffectParserFaultTest, TechniqueFaultsNameThePassAndWhatItLacks)
{
    const std::string blocks = Blocks;
    const auto expect = [&](const std::string& techniques, const std::string& message) {
        EXPECT_EQ(ParseFault(blocks + techniques), message) << techniques;
    };
    expect("technique T {\n}\n", "effect.fx:3: technique T has no pass");
    expect("technique T { pass P { VertexShader = V; } }\n", "effect.fx:3: pass P of technique T has no PixelShader");
    expect("technique T { pass P {\n PixelShader = F; } }\n", "effect.fx:3: pass P of technique T has no VertexShader");
    expect("technique T { pass P { VertexShader = F; PixelShader = F; } }\n",
           "effect.fx:3: VertexShader needs a glsl vertex block, but F is a fragment block");
    expect("technique T { pass P { VertexShader = V;\n PixelShader = Missing; } }\n",
           "effect.fx:4: no glsl block named Missing is declared before pass P");
    expect("technique T { pass P { VertexShader = V; PixelShader = F;\n ZEnable = MAYBE; } }\n",
           "effect.fx:4: expected TRUE or FALSE as ZEnable, found 'MAYBE'");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; SrcBlend = SRCALPHA | ONE; } }\n",
           "effect.fx:3: expected ';' to end the setting of SrcBlend, found '|'");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; ColorWriteEnable = 16; } }\n",
           "effect.fx:3: expected a colour mask (RED, GREEN, BLUE or ALPHA joined by '|', or a number from 0 to 15) as ColorWriteEnable, found number 16");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; ColorWriteEnable = RED | PINK; } }\n",
           "effect.fx:3: expected RED, GREEN, BLUE or ALPHA (joined by '|'), or a number from 0 to 15, as ColorWriteEnable, found 'PINK'");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; CullMode = NONE;\n cullmode = CW; } }\n",
           "effect.fx:4: cullmode is set twice in pass P");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; AlphaTestEnable = TRUE; } }\n",
           "effect.fx:3: unknown pass setting AlphaTestEnable (VertexShader, PixelShader or one of the render states in EffectLanguage.md)");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; } pass P { VertexShader = V; PixelShader = F; } }\n",
           "effect.fx:3: technique T already has a pass named P");
    expect("technique T { pass P { VertexShader = V; PixelShader = F; } }\ntechnique T { pass P { VertexShader = V; PixelShader = F; } }\n",
           "effect.fx:4: a technique named T is already declared at effect.fx:3");
    expect("technique T { P { } }\n", "effect.fx:3: expected 'pass' or '}' in technique T, found 'P'");
}

TEST(EffectParserFaultTest, FaultsInAnIncludeNameTheIncludedFileAndItsOwnLine)
{
    const IncludeFiles includes{
        {"common.fxh", "float A;\n\nfloat B : TIME\n"},
        {"outer.fxh", "float Outer;\n#include \"inner.fxh\"\n"},
        {"inner.fxh", "float Inner;\n\n\nfloat Inner2 = ;\n"},
        {"names.fxh", "float Texel;\n"},
    };
    ExpectFaults({
        {"float X;\n#include \"common.fxh\"\n", "common.fxh:3: expected ';' to end the declaration of B, found end of file"},
        {"#include \"outer.fxh\"\n", "inner.fxh:4: expected a number in the initial value of Inner2, found ';'"},
        {"#include \"names.fxh\"\nfloat2 Texel;\n", "effect.fx:2: 'Texel' is already declared at names.fxh:1"},
    },
                 includes);
}

TEST(EffectParserFaultTest, AnIncludeThatCannotBeReadFailsAtItsDirective)
{
    const IncludeFiles includes{{"outer.fxh", "float Outer;\n\n#include \"gone.fxh\"\n"}};
    ExpectFaults({
        {"float A;\n#include \"missing.fxh\"\nfloat B;\n", "effect.fx:2: cannot open include file \"missing.fxh\""},
        {"#include \"outer.fxh\"\n", "outer.fxh:3: cannot open include file \"gone.fxh\""},
        {"#include missing.fxh\n", "effect.fx:1: expected a file name in double quotes after #include, found 'missing'"},
        {"#include\n\"split.fxh\"\n", "effect.fx:1: #include and its file name must be on one line"},
    },
                 includes);
}

TEST(EffectParserFaultTest, IncludesNestAtMostThirtyTwoDeep)
{
    IncludeFiles includes;
    for (int i = 0; i < 40; ++i)
        includes["f" + std::to_string(i) + ".fxh"] = "#include \"f" + std::to_string(i + 1) + ".fxh\"\n";
    EXPECT_EQ(ParseFault("#include \"f0.fxh\"\n", includes), "f30.fxh:1: includes nest deeper than 32 files");
}
