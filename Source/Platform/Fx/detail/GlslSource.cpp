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

// Appends text that comes from one place of the effect, keeping count of the lines written.
class Emitter {
public:
    explicit Emitter(ShaderBlock& block) : block(block)
    {
        block.source = "#version 330 core\n";
        block.lines.clear();
    }

    void Append(const std::string& text, SourceLocation where)
    {
        // A span that merely continues the last one (the next declaration on the next line) adds
        // nothing to the table.
        const bool continues = !block.lines.empty() && block.lines.back().where.file == where.file &&
                               block.lines.back().where.line + (nextLine - block.lines.back().firstLine) == where.line;
        if (!continues)
            block.lines.push_back(LineSpan{nextLine, where});
        block.source += text;
        if (text.empty() || text.back() != '\n')
            block.source += '\n';
        for (const char c : text)
            nextLine += c == '\n' ? 1 : 0;
        nextLine += text.empty() || text.back() != '\n' ? 1 : 0;
    }

private:
    ShaderBlock& block;
    uint32_t nextLine = 2; // after the version
};

} // namespace

void GenerateGlsl(const EffectDescription& effect, ShaderBlock& block, std::span<const BlockText> commonBlocks,
                  const BlockText& body)
{
    Emitter out(block);
    for (const Parameter& parameter : effect.parameters) {
        const char* type = TypeName(parameter.kind);
        if (!type)
            continue;
        std::string declaration = std::string("uniform ") + type + " " + parameter.name;
        if (parameter.elements > 0)
            declaration += "[" + std::to_string(parameter.elements) + "]";
        out.Append(declaration + ";", parameter.where);
    }
    for (const Sampler& sampler : effect.samplers)
        out.Append(std::string("uniform ") + TypeName(sampler.kind) + " " + sampler.name + ";", sampler.where);
    const char* direction = block.stage == ShaderStage::Vertex ? "in" : "out";
    for (const StageVariable& variable : block.variables)
        out.Append("layout(location = " + std::to_string(variable.location) + ") " + direction + " " +
                       TypeName(variable.type) + " " + variable.name + ";",
                   block.where);
    for (const BlockText& common : commonBlocks)
        out.Append(common.text, common.where);
    out.Append(body.text, body.where);
}

} // namespace fx::detail
