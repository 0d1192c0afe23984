#include "Platform/Fx/detail/Parser.h"

#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/detail/CheckEffect.h"

namespace fx::detail {

namespace {

// Includes are read once each, so nesting is bounded by the files there are; this bounds it
// also against a callback that keeps inventing new names.
constexpr size_t MaxIncludeDepth = 32;

const std::string DeclarationExpected = "a declaration (a parameter, a sampler, a glsl block, a technique or #include)";

} // namespace

Parser::Parser(const IncludeCallback& include) : include(include)
{
}

EffectDescription Parser::Parse(const std::string& fileName, std::string_view source)
{
    ParseFile(fileName, source);
    for (size_t i = 0; i < effect.shaders.size(); ++i) {
        const PendingBody& pending = bodies[i];
        const std::span<const BlockText> common(commonBlocks.data(), pending.commonBlocksBefore);
        GenerateGlsl(effect, effect.shaders[i], common, pending.body);
    }
    // Whatever parses must also load once compiled: the same rules, checked once more as a whole.
    CheckEffect(effect, fileName);
    return std::move(effect);
}

void Parser::ParseFile(const std::string& name, std::string_view source)
{
    includedNames.insert(name);
    effect.files.push_back(name);
    files.push_back(File{Lexer(source, name), static_cast<uint32_t>(effect.files.size() - 1), std::nullopt});
    while (Peek().kind != TokenKind::End)
        ParseDeclaration();
    files.pop_back();
}

void Parser::ParseInclude(const Token& directive)
{
    const Token name = Take();
    if (name.kind != TokenKind::String)
        Expected("a file name in double quotes after #include", name);
    if (name.line != directive.line)
        Fail(directive.line, "#include and its file name must be on one line");
    if (includedNames.count(name.text))
        return;
    if (files.size() >= MaxIncludeDepth)
        Fail(directive.line, "includes nest deeper than " + std::to_string(MaxIncludeDepth) + " files");
    const std::optional<std::string> text = include(name.text);
    if (!text)
        Fail(directive.line, "cannot open include file \"" + name.text + "\"");
    ParseFile(name.text, *text);
}

void Parser::ParseDeclaration()
{
    const Token first = Take();
    if (first.kind == TokenKind::Include)
        return ParseInclude(first);
    if (first.kind == TokenKind::Identifier) {
        if (first.text == "shared") {
            const Token type = Take();
            if (type.kind != TokenKind::Identifier || !ParameterKindByName(type.text))
                Expected("a parameter type after 'shared' (float, float2, float3, float4, float4x4, texture2D, "
                         "textureCUBE or texture3D)", type);
            return ParseParameter(true, type);
        }
        if (first.text == "glsl")
            return ParseShaderBlock();
        if (first.text == "technique")
            return ParseTechnique();
        if (first.text == "sampler2D" || first.text == "samplerCUBE" || first.text == "sampler3D")
            return ParseSampler(first);
        if (ParameterKindByName(first.text))
            return ParseParameter(false, first);
    }
    Expected(DeclarationExpected, first);
}

const Token& Parser::Peek()
{
    File& file = files.back();
    if (!file.lookahead)
        file.lookahead = file.lexer.Next();
    return *file.lookahead;
}

Token Parser::Take()
{
    Peek();
    File& file = files.back();
    Token token = std::move(*file.lookahead);
    file.lookahead.reset();
    return token;
}

bool Parser::TakeSymbol(std::string_view symbol)
{
    const Token& next = Peek();
    if (next.kind != TokenKind::Symbol || next.text != symbol)
        return false;
    Take();
    return true;
}

Token Parser::ExpectSymbol(std::string_view symbol, const std::string& purpose)
{
    Token token = Take();
    if (token.kind != TokenKind::Symbol || token.text != symbol)
        Expected("'" + std::string(symbol) + "' " + purpose, token);
    return token;
}

Token Parser::ExpectIdentifier(const std::string& what)
{
    Token token = Take();
    if (token.kind != TokenKind::Identifier)
        Expected(what, token);
    return token;
}

Token Parser::ExpectWord(std::string_view word, const std::string& purpose)
{
    Token token = Take();
    if (token.kind != TokenKind::Identifier || token.text != word)
        Expected("'" + std::string(word) + "' " + purpose, token);
    return token;
}

void Parser::Fail(uint32_t line, const std::string& fault) const
{
    throw EffectError(effect.files[files.back().index], line, fault);
}

void Parser::Expected(const std::string& what, const Token& found) const
{
    Fail(found.line, "expected " + what + ", found " + detail::Describe(found));
}

SourceLocation Parser::Here(const Token& token) const
{
    return SourceLocation{files.back().index, token.line};
}

std::string Parser::Describe(SourceLocation where) const
{
    return effect.files[where.file] + ":" + std::to_string(where.line);
}

} // namespace fx::detail
