// What each construct of the effect language becomes in the description, and the GLSL source
// generated for a shader block.
#include "EffectSource.h"

#include "Platform/Fx/EffectParser.h"
#include "Platform/Fx/GlslLog.h"
#include "Platform/Fx/RenderStates.h"

#include <gtest/gtest.h>

using namespace fx;

namespace {

const Parameter& ParameterNamed(const EffectDescription& effect, const std::string& name)
{
    for (const Parameter& parameter : effect.parameters)
        if (parameter.name == name)
            return parameter;
    throw std::runtime_error("no parameter " + name);
}

const char* const TrivialPass = R"(
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
)";

} // namespace

TEST(EffectParserTest, ParametersKeepKindElementsSemanticSharedFlagAndInitialValue)
{
    const EffectDescription effect = ParseSource(R"(
shared float4x4 ViewProj : VIEWPROJ;
float2 Texel : RTDIMPIXELINV = {0.5, -0.25};
float Kernel[48] : SSAOKERNEL;
float3 Dirs[2] = {1, 0, 0, 0, 1e1, -2.5f};
float Scale = -.5;
float4 Tint : DIFFUSE;
)");
    ASSERT_EQ(effect.parameters.size(), 6u);
    const Parameter& viewProj = effect.parameters[0];
    EXPECT_EQ(viewProj.name, "ViewProj");
    EXPECT_EQ(viewProj.kind, ParameterKind::Float4x4);
    EXPECT_EQ(viewProj.semantic, "VIEWPROJ");
    EXPECT_TRUE(viewProj.shared);
    EXPECT_EQ(viewProj.elements, 0u);
    EXPECT_TRUE(viewProj.defaultValue.empty());
    EXPECT_EQ(viewProj.where, (SourceLocation{0, 2}));

    const Parameter& texel = effect.parameters[1];
    EXPECT_FALSE(texel.shared);
    EXPECT_EQ(texel.defaultValue, (std::vector<float>{0.5f, -0.25f}));

    const Parameter& kernel = effect.parameters[2];
    EXPECT_EQ(kernel.kind, ParameterKind::Float);
    EXPECT_EQ(kernel.elements, 48u);
    EXPECT_EQ(FloatCount(kernel), 48u);

    const Parameter& dirs = effect.parameters[3];
    EXPECT_EQ(dirs.elements, 2u);
    EXPECT_EQ(dirs.semantic, "");
    EXPECT_EQ(dirs.defaultValue, (std::vector<float>{1, 0, 0, 0, 10, -2.5f}));

    EXPECT_EQ(effect.parameters[4].defaultValue, (std::vector<float>{-0.5f}));
    EXPECT_EQ(effect.parameters[5].kind, ParameterKind::Float4);
}

TEST(EffectParserTest, TexturesKeepTheirKindAndStringAnnotationsInOrder)
{
    const EffectDescription effect = ParseSource(R"(
texture2D Dots : TEXTURE0 < string ResourceName = "dots.png"; string Filter = "NONE"; >;
textureCUBE Env : TEXTURE7 <string Type = "CUBE";string ResourceName="sky \"blue\".dds";>;
shared texture3D Noise : NOISETEX;
texture2D Plain : COLTEX1 < >;
)");
    const Parameter& dots = ParameterNamed(effect, "Dots");
    EXPECT_EQ(dots.kind, ParameterKind::Texture2D);
    EXPECT_EQ(dots.annotations, (std::vector<Annotation>{{"ResourceName", "dots.png"}, {"Filter", "NONE"}}));
    const Parameter& env = ParameterNamed(effect, "Env");
    EXPECT_EQ(env.kind, ParameterKind::TextureCube);
    EXPECT_EQ(env.annotations, (std::vector<Annotation>{{"Type", "CUBE"}, {"ResourceName", "sky \"blue\".dds"}}));
    const Parameter& noise = ParameterNamed(effect, "Noise");
    EXPECT_EQ(noise.kind, ParameterKind::Texture3D);
    EXPECT_TRUE(noise.shared);
    EXPECT_TRUE(ParameterNamed(effect, "Plain").annotations.empty());
}

TEST(EffectParserTest, SamplersStartFromDirect3DDefaultsAndApplyTheirStatesInOrder)
{
    const EffectDescription effect = ParseSource(R"(
texture2D Col : COLTEX1;
textureCUBE Env : CUBETX;
texture3D Vol : NOISETEX;
sampler2D Plain = sampler_state { Texture = Col; };
sampler2D Soft = sampler_state { texture = Col; Filter = LINEAR; Address = CLAMP; };
samplerCUBE Sky = sampler_state {
    Texture = Env; Filter = ANISOTROPIC; MaxAnisotropy = 8; MipFilter = none;
    AddressU = MIRROR; AddressV = BORDER; AddressW = MirrorOnce; BorderColor = {0.25, 0.5, 1, -1};
};
sampler3D Cells = sampler_state { Texture = Vol; MinFilter = LINEAR; MagFilter = POINT; MipFilter = POINT; };
)");
    ASSERT_EQ(effect.samplers.size(), 4u);
    const Sampler& plain = effect.samplers[0];
    EXPECT_EQ(plain.texture, "Col");
    EXPECT_EQ(plain.kind, SamplerKind::Sampler2D);
    EXPECT_EQ(plain.minFilter, TextureFilter::Point);
    EXPECT_EQ(plain.magFilter, TextureFilter::Point);
    EXPECT_EQ(plain.mipFilter, TextureFilter::None);
    EXPECT_EQ(plain.addressU, TextureAddress::Wrap);
    EXPECT_EQ(plain.maxAnisotropy, 1u);

    const Sampler& soft = effect.samplers[1];
    EXPECT_EQ(soft.minFilter, TextureFilter::Linear);
    EXPECT_EQ(soft.mipFilter, TextureFilter::Linear);
    EXPECT_EQ(soft.addressU, TextureAddress::Clamp);
    EXPECT_EQ(soft.addressW, TextureAddress::Clamp);

    const Sampler& sky = effect.samplers[2];
    EXPECT_EQ(sky.kind, SamplerKind::SamplerCube);
    EXPECT_EQ(sky.minFilter, TextureFilter::Anisotropic);
    EXPECT_EQ(sky.magFilter, TextureFilter::Anisotropic);
    EXPECT_EQ(sky.mipFilter, TextureFilter::None); // set after Filter, so it wins
    EXPECT_EQ(sky.maxAnisotropy, 8u);
    EXPECT_EQ(sky.addressU, TextureAddress::Mirror);
    EXPECT_EQ(sky.addressV, TextureAddress::Border);
    EXPECT_EQ(sky.addressW, TextureAddress::MirrorOnce);
    EXPECT_EQ(sky.borderColor, (std::array<float, 4>{0.25f, 0.5f, 1.0f, -1.0f}));

    const Sampler& cells = effect.samplers[3];
    EXPECT_EQ(cells.kind, SamplerKind::Sampler3D);
    EXPECT_EQ(cells.minFilter, TextureFilter::Linear);
    EXPECT_EQ(cells.magFilter, TextureFilter::Point);
    EXPECT_EQ(cells.mipFilter, TextureFilter::Point);
}

TEST(EffectParserTest, SignaturesBindVertexInputsAndColourOutputsToFixedLocations)
{
    const EffectDescription effect = ParseSource(R"(
glsl vertex Sprite(vec3 Centre : POSITION0, vec3 Corner : NORMAL, vec4 Tint : COLOR0,
                   vec2 Uv : texcoord3, vec3 Previous : POSITION1, float Weight : BLENDWEIGHT0) {
    void main() { gl_Position = vec4(Centre + Corner + Previous, Weight) * Tint + vec4(Uv, 0.0, 0.0); }
}
glsl fragment Particle(vec4 Color : COLOR0, vec2 Velocity : COLOR1, float Depth : COLOR3) {
    void main() { Color = vec4(1.0); Velocity = vec2(0.0); Depth = 1.0; }
}
glsl fragment DepthOnly() { void main() {} }
)");
    ASSERT_EQ(effect.shaders.size(), 3u);
    const ShaderBlock& sprite = effect.shaders[0];
    EXPECT_EQ(sprite.stage, ShaderStage::Vertex);
    EXPECT_EQ(sprite.variables, (std::vector<StageVariable>{
                                    {"Centre", GlslType::Vec3, Usage::Position, 0, 0},
                                    {"Corner", GlslType::Vec3, Usage::Normal, 0, 1},
                                    {"Tint", GlslType::Vec4, Usage::Color, 0, 2},
                                    {"Uv", GlslType::Vec2, Usage::Texcoord, 3, 7},
                                    {"Previous", GlslType::Vec3, Usage::Position, 1, 12},
                                    {"Weight", GlslType::Float, Usage::BlendWeight, 0, 15},
                                }));
    const ShaderBlock& particle = effect.shaders[1];
    EXPECT_EQ(particle.stage, ShaderStage::Fragment);
    EXPECT_EQ(particle.variables, (std::vector<StageVariable>{
                                      {"Color", GlslType::Vec4, Usage::Color, 0, 0},
                                      {"Velocity", GlslType::Vec2, Usage::Color, 1, 1},
                                      {"Depth", GlslType::Float, Usage::Color, 3, 3},
                                  }));
    EXPECT_TRUE(effect.shaders[2].variables.empty());
}

TEST(EffectParserTest, GeneratedSourceDeclaresEveryUniformAndMapsEachLineBackToItsFile)
{
    const EffectDescription effect = ParseSource(R"(#include "common.fxh"
float Kernel[3] : KERNEL;
texture2D Col : COLTEX1;
sampler2D ColSampler = sampler_state { Texture = Col; };
glsl common { float Twice(float x) { return 2.0 * x; } }
glsl fragment Blur(vec4 Color : COLOR0,
                   vec2 Velocity : COLOR1) { void main()
{ Color = texture(ColSampler, vec2(Twice(Kernel[0]))) * Time; Velocity = vec2(0.0); }
}
)",
                                                 {{"common.fxh", "shared float Time : TIME;\nshared float4x4 View : VIEW;\n"
                                                                 "glsl common {\nconst float Pi = 3.14159;\n}\n"}});
    ASSERT_EQ(effect.files, (std::vector<std::string>{"effect.fx", "common.fxh"}));
    const ShaderBlock& blur = effect.shaders[0];
    EXPECT_EQ(blur.source, "#version 330 core\n"
                           "uniform float Time;\n"
                           "uniform mat4 View;\n"
                           "uniform float Kernel[3];\n"
                           "uniform sampler2D ColSampler;\n"
                           "layout(location = 0) out vec4 Color;\n"
                           "layout(location = 1) out vec2 Velocity;\n"
                           "\nconst float Pi = 3.14159;\n"
                           " float Twice(float x) { return 2.0 * x; } \n"
                           " void main()\n"
                           "{ Color = texture(ColSampler, vec2(Twice(Kernel[0]))) * Time; Velocity = vec2(0.0); }\n");
    // A span that continues the one before (View right after Time) takes no entry.
    EXPECT_EQ(blur.lines, (std::vector<LineSpan>{
                              {2, {1, 1}},  // Time, View
                              {4, {0, 2}},  // Kernel
                              {5, {0, 4}},  // ColSampler
                              {6, {0, 6}},  // Color
                              {7, {0, 6}},  // Velocity
                              {8, {1, 3}},  // common.fxh's common block
                              {10, {0, 5}}, // the effect's common block
                              {11, {0, 7}}, // the body
                          }));
    EXPECT_EQ(SourceOfLine(blur, 1), std::nullopt);
    EXPECT_EQ(SourceOfLine(blur, 3), (SourceLocation{1, 2}));
    EXPECT_EQ(SourceOfLine(blur, 9), (SourceLocation{1, 4}));
    EXPECT_EQ(SourceOfLine(blur, 12), (SourceLocation{0, 8}));
    EXPECT_EQ(SourceOfLine(blur, 13), std::nullopt);
}

TEST(EffectParserTest, CommonBlocksReachOnlyTheBlocksDeclaredAfterThem)
{
    const EffectDescription effect = ParseSource(R"(
glsl vertex Before() { void main() { gl_Position = vec4(0.0); } }
glsl common { float Helper() { return 1.0; } }
glsl vertex After() { void main() { gl_Position = vec4(Helper()); } }
)");
    EXPECT_EQ(effect.shaders[0].source.find("Helper()"), std::string::npos);
    EXPECT_NE(effect.shaders[1].source.find("float Helper() { return 1.0; }"), std::string::npos);
}

TEST(EffectParserTest, BracesInsideGlslCommentsDoNotEndTheBlock)
{
    const EffectDescription effect = ParseSource(R"(
glsl fragment F(vec4 Color : COLOR0) {
    // a stray } in a comment
    /* and { another } */
    void main() { if (true) { Color = vec4(1.0); } }
}
glsl vertex V() { void main() { gl_Position = vec4(0.0); } }
)");
    ASSERT_EQ(effect.shaders.size(), 2u);
    EXPECT_NE(effect.shaders[0].source.find("void main() { if (true) { Color = vec4(1.0); } }\n"), std::string::npos);
    EXPECT_EQ(effect.shaders[1].name, "V");
}

TEST(EffectParserTest, PassesKeepTheirProgramsAndTheStatesInTheOrderWritten)
{
    const EffectDescription effect = ParseSource(std::string(TrivialPass) + R"(
technique Particle {
    pass Colour {
        VertexShader = V; PixelShader = F;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = InvSrcAlpha; BlendOp = REVSUBTRACT;
        ZEnable = true; ZWriteEnable = FALSE; ZFunc = GREATEREQUAL; CullMode = CW;
        ColorWriteEnable = RED | GREEN | ALPHA; ColorWriteEnable1 = 0; ColorWriteEnable3 = 15;
        SeparateAlphaBlendEnable = TRUE; SrcBlendAlpha = ONE; DestBlendAlpha = ZERO; BlendOpAlpha = MAX;
    }
    pass Depth { pixelshader = F; vertexshader = V; }
}
technique Other { pass P0 { VertexShader = V; PixelShader = F; CullMode = NONE; } }
)");
    ASSERT_EQ(effect.techniques.size(), 2u);
    const Technique& particle = effect.techniques[0];
    ASSERT_EQ(particle.passes.size(), 2u);
    const Pass& colour = particle.passes[0];
    EXPECT_EQ(colour.vertexShader, "V");
    EXPECT_EQ(colour.pixelShader, "F");
    const auto value = [](auto v) { return static_cast<uint32_t>(v); };
    EXPECT_EQ(colour.states, (std::vector<StateSetting>{
                                 {RenderState::AlphaBlendEnable, 1},
                                 {RenderState::SrcBlend, value(Blend::SrcAlpha)},
                                 {RenderState::DestBlend, value(Blend::InvSrcAlpha)},
                                 {RenderState::BlendOp, value(BlendOp::RevSubtract)},
                                 {RenderState::ZEnable, 1},
                                 {RenderState::ZWriteEnable, 0},
                                 {RenderState::ZFunc, value(Compare::GreaterEqual)},
                                 {RenderState::CullMode, value(Cull::CW)},
                                 {RenderState::ColorWriteEnable, ColorWriteRed | ColorWriteGreen | ColorWriteAlpha},
                                 {RenderState::ColorWriteEnable1, 0},
                                 {RenderState::ColorWriteEnable3, 15},
                                 {RenderState::SeparateAlphaBlendEnable, 1},
                                 {RenderState::SrcBlendAlpha, value(Blend::One)},
                                 {RenderState::DestBlendAlpha, value(Blend::Zero)},
                                 {RenderState::BlendOpAlpha, value(BlendOp::Max)},
                             }));
    EXPECT_TRUE(particle.passes[1].states.empty());
    EXPECT_EQ(particle.passes[1].name, "Depth");
    EXPECT_EQ(effect.techniques[1].passes[0].states, (std::vector<StateSetting>{{RenderState::CullMode, value(Cull::None)}}));
    // Direct3D's numbers, which the device binding passes on as they are.
    EXPECT_EQ(static_cast<uint32_t>(RenderState::ColorWriteEnable), 168u);
    EXPECT_EQ(value(Blend::InvSrcAlpha), 6u);
}

TEST(EffectParserTest, IncludesAreReadOnceEachAndListedInTheOrderFirstRead)
{
    std::vector<std::string> asked;
    const IncludeFiles files{
        {"a.fxh", "#include \"b.fxh\"\nfloat A;\n"},
        {"b.fxh", "# include \"a.fxh\"\nfloat B;\n"}, // a cycle ends at the first file already read
    };
    const EffectDescription effect = fx::ParseEffect(
        "main.fx", "#include \"a.fxh\"\n#include \"b.fxh\"\nfloat Main;\n",
        [&](const std::string& name) -> std::optional<std::string> {
            asked.push_back(name);
            return files.at(name);
        });
    EXPECT_EQ(asked, (std::vector<std::string>{"a.fxh", "b.fxh"}));
    EXPECT_EQ(effect.files, (std::vector<std::string>{"main.fx", "a.fxh", "b.fxh"}));
    ASSERT_EQ(effect.parameters.size(), 3u);
    EXPECT_EQ(effect.parameters[0].name, "B");
    EXPECT_EQ(effect.parameters[0].where, (SourceLocation{2, 2}));
    EXPECT_EQ(effect.parameters[1].name, "A");
    EXPECT_EQ(effect.parameters[1].where, (SourceLocation{1, 2}));
    EXPECT_EQ(effect.parameters[2].where, (SourceLocation{0, 3}));
}

TEST(EffectParserTest, TheShowsGlobalEffectDeclaresEverySharedFrameValue)
{
    const EffectDescription effect = ParseSource(R"(#include "common.fxh"
technique Default { pass P0 { VertexShader = FullScreen; PixelShader = Nothing; } }
)",
                                                 {{"common.fxh", R"(
shared float4x4 OldViewProj : OLDVIEWPROJ;
shared float Time : TIME;
shared float4x4 View : VIEW;
shared float4x4 ViewProj : VIEWPROJ;
shared float3 EyePos : EYEPOS;
shared float2 FocusMaxZ : FOCUS_MAXZ;
shared texture3D NoiseTex : NOISETEX;
shared texture2D NoiseVecTex : NOISEVECTEX;
glsl vertex FullScreen(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0); } }
glsl fragment Nothing() { void main() {} }
)"}});
    for (const char* semantic : {"OLDVIEWPROJ", "TIME", "VIEW", "VIEWPROJ", "EYEPOS", "FOCUS_MAXZ", "NOISETEX", "NOISEVECTEX"}) {
        bool found = false;
        for (const Parameter& parameter : effect.parameters)
            found = found || (parameter.semantic == semantic && parameter.shared);
        EXPECT_TRUE(found) << semantic;
    }
}
