// GLSL blocks: 'glsl' vertex|fragment name '(' [ type name ':' SEMANTIC { ',' ... } ] ')' '{' GLSL '}'
// and 'glsl' 'common' '{' GLSL '}', whose code goes into every block declared after it.
#include "Platform/Fx/StageSemantics.h"
#include "Platform/Fx/detail/CheckEffect.h"
#include "Platform/Fx/detail/Parser.h"


namespace fx::detail {

namespace {

// GLSL's own words, so matched exactly.
std::optional<GlslType> GlslTypeByName(std::string_view name)
{
    if (name == "float")
        return GlslType::Float;
    if (name == "vec2")
        return GlslType::Vec2;
    if (name == "vec3")
        return GlslType::Vec3;
    if (name == "vec4")
        return GlslType::Vec4;
    return std::nullopt;
}

} // namespace

const ShaderBlock* Parser::FindShader(const std::string& name) const
{
    for (const ShaderBlock& block : effect.shaders)
        if (block.name == name)
            return &block;
    return nullptr;
}

void Parser::ParseShaderBlock()
{
    const Token stage = ExpectIdentifier("vertex, fragment or common after 'glsl'");
    if (stage.text == "common") {
        const RawText body = ParseBody("to begin the common GLSL code");
        commonBlocks.push_back(BlockText{body.text, SourceLocation{files.back().index, body.line}});
        return;
    }
    if (stage.text != "vertex" && stage.text != "fragment")
        Expected("vertex, fragment or common after 'glsl'", stage);

    ShaderBlock block;
    block.stage = stage.text == "vertex" ? ShaderStage::Vertex : ShaderStage::Fragment;
    const Token name = ExpectIdentifier("a name for the glsl " + stage.text + " block");
    if (const ShaderBlock* earlier = FindShader(name.text))
        Fail(name.line, "a glsl block named " + name.text + " is already declared at " + Describe(earlier->where));
    block.name = name.text;
    block.where = Here(name);
    ParseSignature(block);
    const RawText body = ParseBody("to begin the GLSL code of " + block.name);
    bodies.push_back(PendingBody{BlockText{body.text, SourceLocation{files.back().index, body.line}}, commonBlocks.size()});
    effect.shaders.push_back(std::move(block));
}

void Parser::ParseSignature(ShaderBlock& block)
{
    const bool vertex = block.stage == ShaderStage::Vertex;
    const std::string role = vertex ? "vertex input" : "colour output";
    ExpectSymbol("(", "to begin the " + role + "s of " + block.name + " (an empty list is '()')");
    if (TakeSymbol(")"))
        return;
    do {
        const Token type = Take();
        const auto glslType = type.kind == TokenKind::Identifier ? GlslTypeByName(type.text) : std::nullopt;
        if (!glslType)
            Expected("the GLSL type of a " + role + " (float, vec2, vec3 or vec4)", type);
        const Token name = ExpectIdentifier("a name for the " + role);
        if (!IsGlslName(name.text))
            Fail(name.line, "'" + name.text + "' is reserved by GLSL (names starting with gl_ or holding __)");
        ExpectSymbol(":", "and a semantic after the " + role + " " + name.text);
        const Token semanticName = ExpectIdentifier("the semantic of " + name.text);
        const auto semantic = FindStageSemantic(block.stage, semanticName.text);
        if (!semantic)
            Fail(semanticName.line, semanticName.text + " is no " + role + " semantic; a " + (vertex ? "vertex" : "fragment") +
                                        " block takes " + StageSemanticNames(block.stage));
        for (const StageVariable& earlier : block.variables) {
            if (earlier.name == name.text)
                Fail(name.line, block.name + " declares " + name.text + " twice");
            if (earlier.location == semantic->location)
                Fail(semanticName.line, block.name + " takes " + SemanticName(semantic->usage, semantic->index) +
                                            " twice (" + earlier.name + " and " + name.text + ")");
        }
        block.variables.push_back(StageVariable{name.text, *glslType, semantic->usage,
                                                semantic->index, semantic->location});
    } while (TakeSymbol(","));
    ExpectSymbol(")", "or ',' in the " + role + "s of " + block.name);
}

RawText Parser::ParseBody(const std::string& purpose)
{
    const Token open = ExpectSymbol("{", purpose);
    return files.back().lexer.BlockBody(open.line);
}

} // namespace fx::detail
