// Parameters: [shared] type name [ '[' count ']' ] [ ':' SEMANTIC ] [ '<' annotations '>' ]
// [ '=' initial value ] ';'
#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/detail/CheckEffect.h"
#include "Platform/Fx/detail/Parser.h"

#include <array>
#include <charconv>
#include <cfloat>
#include <cmath>

namespace fx::detail {

namespace {

struct KindName {
    std::string_view name;
    ParameterKind kind;
};

constexpr std::array KindNames{
    KindName{"float", ParameterKind::Float},         KindName{"float2", ParameterKind::Float2},
    KindName{"float3", ParameterKind::Float3},       KindName{"float4", ParameterKind::Float4},
    KindName{"float4x4", ParameterKind::Float4x4},   KindName{"texture2D", ParameterKind::Texture2D},
    KindName{"textureCUBE", ParameterKind::TextureCube}, KindName{"texture3D", ParameterKind::Texture3D},
};

} // namespace

std::optional<ParameterKind> Parser::ParameterKindByName(std::string_view name)
{
    for (const KindName& entry : KindNames)
        if (entry.name == name)
            return entry.kind;
    return std::nullopt;
}

void Parser::ParseParameter(bool shared, const Token& type)
{
    Parameter parameter;
    parameter.kind = *ParameterKindByName(type.text);
    parameter.shared = shared;
    const Token name = ExpectIdentifier("a parameter name after '" + type.text + "'");
    DeclareGlobalName(name);
    parameter.name = name.text;
    parameter.where = Here(name);
    if (TakeSymbol("["))
        ParseArraySize(parameter);
    if (TakeSymbol(":")) {
        const Token semantic = ExpectIdentifier("a semantic after ':'");
        const auto [given, inserted] = semantics.emplace(semantic.text, parameter.name);
        if (!inserted)
            Fail(semantic.line, "semantic " + semantic.text + " is already given to " + given->second);
        parameter.semantic = semantic.text;
    }
    if (TakeSymbol("<"))
        ParseAnnotations(parameter);
    if (TakeSymbol("="))
        ParseInitialiser(parameter);
    ExpectSymbol(";", "to end the declaration of " + parameter.name);
    effect.parameters.push_back(std::move(parameter));
}

void Parser::DeclareGlobalName(const Token& name)
{
    if (!IsGlslName(name.text))
        Fail(name.line, "'" + name.text + "' is reserved by GLSL (names starting with gl_ or holding __)");
    const auto [earlier, inserted] = globalNames.emplace(name.text, Here(name));
    if (!inserted)
        Fail(name.line, "'" + name.text + "' is already declared at " + Describe(earlier->second));
}

void Parser::ParseArraySize(Parameter& parameter)
{
    const Token count = Take();
    if (IsTexture(parameter.kind))
        Fail(count.line, "a texture cannot be an array");
    uint32_t elements = 0;
    const auto [end, error] = std::from_chars(count.text.data(), count.text.data() + count.text.size(), elements);
    if (count.kind != TokenKind::Number || error != std::errc() || end != count.text.data() + count.text.size() ||
        elements < 1 || elements > MaxArrayElements)
        Expected("an element count from 1 to " + std::to_string(MaxArrayElements) + " after '['", count);
    if (parameter.kind == ParameterKind::Float4x4)
        Fail(count.line, "arrays of float4x4 are not supported; arrays hold float, float2, float3 or float4");
    parameter.elements = elements;
    ExpectSymbol("]", "to close the element count of " + parameter.name);
}

void Parser::ParseAnnotations(Parameter& parameter)
{
    while (!TakeSymbol(">")) {
        const Token type = Take();
        if (type.kind != TokenKind::Identifier || type.text != "string")
            Expected("'string' to begin an annotation (annotations are strings) or '>' to end them", type);
        const Token name = ExpectIdentifier("an annotation name after 'string'");
        for (const Annotation& annotation : parameter.annotations)
            if (annotation.name == name.text)
                Fail(name.line, "annotation " + name.text + " is given twice");
        ExpectSymbol("=", "after the annotation name " + name.text);
        const Token value = Take();
        if (value.kind != TokenKind::String)
            Expected("a string in double quotes as the value of " + name.text, value);
        ExpectSymbol(";", "to end the annotation " + name.text);
        parameter.annotations.push_back({name.text, value.text});
    }
}

void Parser::ParseInitialiser(Parameter& parameter)
{
    const uint32_t count = FloatCount(parameter);
    if (count == 0)
        Fail(Peek().line, "a texture takes no initial value; textures are set by the engine or through annotations");
    const std::string purpose = "in the initial value of " + parameter.name;
    if (count == 1 && parameter.elements == 0) {
        parameter.defaultValue.push_back(ParseNumber(purpose));
        return;
    }
    const Token open = ExpectSymbol("{", "to begin the " + std::to_string(count) + " values of " + parameter.name);
    while (true) {
        const uint32_t line = Peek().line;
        const float value = ParseNumber(purpose);
        if (parameter.defaultValue.size() == count)
            Fail(line, parameter.name + " holds " + std::to_string(count) + " values; its initial value gives more");
        parameter.defaultValue.push_back(value);
        if (TakeSymbol("}"))
            break;
        ExpectSymbol(",", "or '}' " + purpose);
    }
    if (parameter.defaultValue.size() != count)
        Fail(open.line, parameter.name + " holds " + std::to_string(count) + " values; its initial value gives " +
                            std::to_string(parameter.defaultValue.size()));
}

float Parser::ParseNumber(const std::string& purpose)
{
    const bool negative = TakeSymbol("-");
    if (!negative)
        TakeSymbol("+");
    const Token number = Take();
    if (number.kind != TokenKind::Number)
        Expected("a number " + purpose, number);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.text.data(), number.text.data() + number.text.size(), value);
    if (error != std::errc() || end != number.text.data() + number.text.size() || !(std::fabs(value) <= FLT_MAX))
        Fail(number.line, "number " + number.text + " is out of the range of a float");
    return static_cast<float>(negative ? -value : value);
}

} // namespace fx::detail
