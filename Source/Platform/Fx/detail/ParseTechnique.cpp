// Techniques: 'technique' name '{' { 'pass' name '{' { Key '=' value ';' } '}' } '}', where a key
// is VertexShader, PixelShader (naming glsl blocks declared before) or a render state.
#include "Platform/Fx/detail/NamedValues.h"
#include "Platform/Fx/detail/Parser.h"

namespace fx::detail {

void Parser::ParseTechnique()
{
    Technique technique;
    const Token name = ExpectIdentifier("a technique name after 'technique'");
    for (const Technique& earlier : effect.techniques)
        if (earlier.name == name.text)
            Fail(name.line, "a technique named " + name.text + " is already declared at " + Describe(earlier.where));
    technique.name = name.text;
    technique.where = Here(name);
    ExpectSymbol("{", "to begin technique " + technique.name);
    while (!TakeSymbol("}")) {
        const Token pass = Take();
        if (pass.kind != TokenKind::Identifier || pass.text != "pass")
            Expected("'pass' or '}' in technique " + technique.name, pass);
        ParsePass(technique);
    }
    if (technique.passes.empty())
        Fail(name.line, "technique " + technique.name + " has no pass");
    effect.techniques.push_back(std::move(technique));
}

void Parser::ParsePass(Technique& technique)
{
    Pass pass;
    const Token name = ExpectIdentifier("a pass name after 'pass'");
    for (const Pass& earlier : technique.passes)
        if (earlier.name == name.text)
            Fail(name.line, "technique " + technique.name + " already has a pass named " + name.text);
    pass.name = name.text;
    pass.where = Here(name);
    ExpectSymbol("{", "to begin pass " + pass.name);
    std::set<std::string> given;
    while (!TakeSymbol("}")) {
        const Token key = ExpectIdentifier("VertexShader, PixelShader, a render state or '}' in pass " + pass.name);
        ExpectSymbol("=", "after " + key.text);
        ParsePassSetting(pass, key, given);
        ExpectSymbol(";", "to end the setting of " + key.text);
    }
    const std::string where = "pass " + pass.name + " of technique " + technique.name;
    if (pass.vertexShader.empty())
        Fail(name.line, where + " has no VertexShader");
    if (pass.pixelShader.empty())
        Fail(name.line, where + " has no PixelShader");
    technique.passes.push_back(std::move(pass));
}

void Parser::ParsePassSetting(Pass& pass, const Token& key, std::set<std::string>& given)
{
    const std::string lower = LowerCase(key.text);
    if (!given.insert(lower).second)
        Fail(key.line, key.text + " is set twice in pass " + pass.name);

    const bool vertex = lower == "vertexshader";
    if (vertex || lower == "pixelshader") {
        const ShaderStage stage = vertex ? ShaderStage::Vertex : ShaderStage::Fragment;
        const std::string kind = vertex ? "vertex" : "fragment";
        const Token shader = ExpectIdentifier("the name of a glsl " + kind + " block as " + key.text);
        const ShaderBlock* block = FindShader(shader.text);
        if (!block)
            Fail(shader.line, "no glsl block named " + shader.text + " is declared before pass " + pass.name);
        if (block->stage != stage)
            Fail(shader.line, key.text + " needs a glsl " + kind + " block, but " + shader.text + " is a " +
                                  (vertex ? "fragment" : "vertex") + " block");
        (vertex ? pass.vertexShader : pass.pixelShader) = shader.text;
        return;
    }
    const RenderStateInfo* state = FindRenderState(key.text);
    if (!state)
        Fail(key.line, "unknown pass setting " + key.text + " (VertexShader, PixelShader or one of the render states "
                                                            "in EffectLanguage.md)");
    pass.states.push_back(StateSetting{state->state, ParseStateValue(key, state->values)});
}

uint32_t Parser::ParseStateValue(const Token& key, StateValues values)
{
    const auto keyword = [&](const Token& value) -> std::optional<uint32_t> {
        if (value.kind != TokenKind::Identifier)
            return std::nullopt;
        return StateValueByName(values, value.text);
    };
    if (values != StateValues::ColorMask) {
        const Token value = Take();
        const auto found = keyword(value);
        if (!found)
            Expected(StateValueNames(values) + " as " + key.text, value);
        return *found;
    }
    // A colour mask: RED | GREEN | BLUE | ALPHA in any combination, or a number 0 .. 15.
    const Token first = Peek();
    if (first.kind == TokenKind::Number) {
        Take();
        const bool whole = first.text.size() <= 2 && first.text.find_first_not_of("0123456789") == std::string::npos;
        const uint32_t mask = whole ? static_cast<uint32_t>(std::stoul(first.text)) : 16;
        if (!IsValidStateValue(values, mask))
            Expected("a colour mask (" + StateValueNames(values) + " joined by '|', or a number from 0 to 15) as " + key.text,
                     first);
        return mask;
    }
    uint32_t mask = 0;
    do {
        const Token value = Take();
        const auto bit = keyword(value);
        if (!bit)
            Expected(StateValueNames(values) + " (joined by '|'), or a number from 0 to 15, as " + key.text, value);
        mask |= *bit;
    } while (TakeSymbol("|"));
    return mask;
}

} // namespace fx::detail
