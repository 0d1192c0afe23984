// What an effect holds once its source is parsed or its compiled form loaded: parameters,
// samplers, GLSL shader blocks with their complete generated sources, and techniques made of
// passes. Enumerated values carry Direct3D 9's numbers, so that the device binding passes them
// on as they are. EffectLanguage.md describes the language and the GLSL conventions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace fx {

// file indexes EffectDescription::files.
struct SourceLocation {
    uint32_t file = 0;
    uint32_t line = 0;
    friend bool operator==(const SourceLocation&, const SourceLocation&) = default;
};

enum class ParameterKind : uint8_t { Float, Float2, Float3, Float4, Float4x4, Texture2D, TextureCube, Texture3D };

struct Annotation {
    std::string name;
    std::string value; // every annotation is a string
    friend bool operator==(const Annotation&, const Annotation&) = default;
};

constexpr uint32_t MaxArrayElements = 48;

struct Parameter {
    std::string name;
    ParameterKind kind = ParameterKind::Float;
    uint32_t elements = 0; // 0: not an array; else 1 .. MaxArrayElements (float kinds only)
    std::string semantic;  // empty when the parameter has none
    bool shared = false;   // one value for every effect of a pool
    std::vector<Annotation> annotations;
    std::vector<float> defaultValue; // empty: all zeros; else exactly FloatCount(*this) values
    SourceLocation where;
    friend bool operator==(const Parameter&, const Parameter&) = default;
};

// Floats in one element of a float kind (16 for a matrix, stored row by row); 0 for textures.
uint32_t ComponentCount(ParameterKind kind);
bool IsTexture(ParameterKind kind);
// Floats the whole parameter holds: ComponentCount times the elements (at least one).
uint32_t FloatCount(const Parameter& parameter);

enum class SamplerKind : uint8_t { Sampler2D, SamplerCube, Sampler3D };

// D3DTEXTUREFILTERTYPE; None is valid only as a mip filter (no mipmapping).
enum class TextureFilter : uint8_t { None = 0, Point = 1, Linear = 2, Anisotropic = 3 };
// D3DTEXTUREADDRESS.
enum class TextureAddress : uint8_t { Wrap = 1, Mirror = 2, Clamp = 3, Border = 4, MirrorOnce = 5 };

constexpr uint32_t MaxSamplers = 16; // texture units 0..15: sampler i of an effect uses unit i
constexpr uint32_t MaxAnisotropy = 16;

// Every field holds a value: what the source does not set keeps Direct3D's initial sampler state.
struct Sampler {
    std::string name;
    SamplerKind kind = SamplerKind::Sampler2D;
    std::string texture; // the texture parameter it samples
    TextureFilter minFilter = TextureFilter::Point;
    TextureFilter magFilter = TextureFilter::Point;
    TextureFilter mipFilter = TextureFilter::None;
    TextureAddress addressU = TextureAddress::Wrap;
    TextureAddress addressV = TextureAddress::Wrap;
    TextureAddress addressW = TextureAddress::Wrap;
    std::array<float, 4> borderColor{}; // r, g, b, a
    uint32_t maxAnisotropy = 1;
    SourceLocation where;
    friend bool operator==(const Sampler&, const Sampler&) = default;
};

enum class ShaderStage : uint8_t { Vertex, Fragment };

// D3DDECLUSAGE, for vertex inputs; fragment outputs use Color (COLOR0..COLOR3: render targets).
enum class Usage : uint8_t { Position = 0, BlendWeight = 1, Normal = 3, Texcoord = 5, Tangent = 6, Binormal = 7, Color = 10 };

enum class GlslType : uint8_t { Float, Vec2, Vec3, Vec4 };

// A vertex input or a fragment output, declared in the block's signature with its D3D semantic.
struct StageVariable {
    std::string name;
    GlslType type = GlslType::Vec4;
    Usage usage = Usage::Position;
    uint8_t usageIndex = 0;
    uint8_t location = 0; // layout(location): fixed per semantic (VertexSemantics.h)
    friend bool operator==(const StageVariable&, const StageVariable&) = default;
};

// Lines firstLine, firstLine + 1, ... of a generated source are lines where.line,
// where.line + 1, ... of an effect file, up to the next span's firstLine.
struct LineSpan {
    uint32_t firstLine = 1;
    SourceLocation where;
    friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

struct ShaderBlock {
    std::string name;
    ShaderStage stage = ShaderStage::Vertex;
    std::vector<StageVariable> variables;
    std::string source;          // complete GLSL 3.30 source, ready for the driver
    std::vector<LineSpan> lines; // where each line of source comes from, by ascending firstLine
    SourceLocation where;
    friend bool operator==(const ShaderBlock&, const ShaderBlock&) = default;
};

// D3DRENDERSTATETYPE of the states a pass may set.
enum class RenderState : uint32_t {
    ZEnable = 7,
    ZWriteEnable = 14,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    ZFunc = 23,
    AlphaBlendEnable = 27,
    ColorWriteEnable = 168,
    BlendOp = 171,
    ColorWriteEnable1 = 190,
    ColorWriteEnable2 = 191,
    ColorWriteEnable3 = 192,
    SeparateAlphaBlendEnable = 206,
    SrcBlendAlpha = 207,
    DestBlendAlpha = 208,
    BlendOpAlpha = 209,
};

// value as SetRenderState takes it (D3DBLEND, D3DCMPFUNC, D3DCULL, TRUE/FALSE, a colour mask).
struct StateSetting {
    RenderState state = RenderState::ZEnable;
    uint32_t value = 0;
    friend bool operator==(const StateSetting&, const StateSetting&) = default;
};

// As in a Direct3D effect, a pass sets only the states it lists (in the listed order); the
// effect restores them when the technique ends.
struct Pass {
    std::string name;
    std::string vertexShader; // a vertex ShaderBlock of the effect
    std::string pixelShader;  // a fragment ShaderBlock of the effect
    std::vector<StateSetting> states;
    SourceLocation where;
    friend bool operator==(const Pass&, const Pass&) = default;
};

struct Technique {
    std::string name;
    std::vector<Pass> passes; // at least one
    SourceLocation where;
    friend bool operator==(const Technique&, const Technique&) = default;
};

struct EffectDescription {
    std::vector<std::string> files; // the effect's own file first, then its includes as named
    std::vector<Parameter> parameters;
    std::vector<Sampler> samplers;
    std::vector<ShaderBlock> shaders;
    std::vector<Technique> techniques;
    friend bool operator==(const EffectDescription&, const EffectDescription&) = default;
};

} // namespace fx
