#include "Platform/Fx/detail/GlslSource.h"

namespace fx::detail {

namespace {

const char* TypeName(ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Float: return "float";
    case ParameterKind::Float2: return "vec2";
    case ParameterKind::Float3: return "vec3";
    case ParameterKind::Float4: return "vec4";
    case ParameterKind::Float4x4: return "mat4";
    default: return nullptr; // textures are reached through samplers only
    }
}

const char* TypeName(SamplerKind kind)
{
    switch (kind) {
    case SamplerKind::Sampler2D: return "sampler2D";
    case SamplerKind::SamplerCube: return "samplerCube";
    case SamplerKind::Sampler3D: return "sampler3D";
    }
    return "sampler2D";
}

const char* TypeName(GlslType type)
{
    switch (type) {
    case GlslType::Float: return "float";
    case GlslType::Vec2: return "vec2";
    case GlslType::Vec3: return "vec3";
    case GlslType::Vec4: return "vec4";
    }
    return "vec4";
}

// GLSL's source string 0 is the generated text; file n of the effect is string n + 1.
void LineDirective(std::string& out, SourceLocation where)
{
    out += "#line " + std::to_string(where.line) + " " + std::to_string(where.file + 1) + "\n";
}

void AppendText(std::string& out, const BlockText& block)
{
    LineDirective(out, block.where);
    out += block.text;
    if (out.back() != '\n')
        out += '\n';
}

} // namespace

std::string GlslSource(const EffectDescription& effect, const ShaderBlock& block,
                       std::span<const BlockText> commonBlocks, const BlockText& body)
{
    std::string out = "#version 330 core\n";
    for (const Parameter& parameter : effect.parameters) {
        const char* type = TypeName(parameter.kind);
        if (!type)
            continue;
        LineDirective(out, parameter.where);
        out += std::string("uniform ") + type + " " + parameter.name;
        if (parameter.elements > 0)
            out += "[" + std::to_string(parameter.elements) + "]";
        out += ";\n";
    }
    for (const Sampler& sampler : effect.samplers) {
        LineDirective(out, sampler.where);
        out += std::string("uniform ") + TypeName(sampler.kind) + " " + sampler.name + ";\n";
    }
    const char* direction = block.stage == ShaderStage::Vertex ? "in" : "out";
    for (const StageVariable& variable : block.variables) {
        LineDirective(out, block.where);
        out += "layout(location = " + std::to_string(variable.location) + ") " + direction + " " +
               TypeName(variable.type) + " " + variable.name + ";\n";
    }
    for (const BlockText& common : commonBlocks)
        AppendText(out, common);
    AppendText(out, body);
    return out;
}

} // namespace fx::detail
