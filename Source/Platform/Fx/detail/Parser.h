// The recursive-descent parser behind ParseEffect, one member function per construct; the
// constructs are split over the Parse*.cpp files beside this one.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/EffectParser.h"
#include "Platform/Fx/RenderStates.h"
#include "Platform/Fx/detail/GlslSource.h"
#include "Platform/Fx/detail/Lexer.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fx::detail {

class Parser {
public:
    explicit Parser(const IncludeCallback& include);

    EffectDescription Parse(const std::string& fileName, std::string_view source);

private:
    struct File {
        Lexer lexer;
        uint32_t index;
        std::optional<Token> lookahead;
    };

    // Token stream of the file being read.
    const Token& Peek();
    Token Take();
    bool TakeSymbol(std::string_view symbol);
    // purpose completes "expected ';' ...", e.g. "to end the declaration of Texel".
    Token ExpectSymbol(std::string_view symbol, const std::string& purpose);
    Token ExpectIdentifier(const std::string& what);
    Token ExpectWord(std::string_view word, const std::string& purpose);
    [[noreturn]] void Fail(uint32_t line, const std::string& fault) const;
    [[noreturn]] void Expected(const std::string& what, const Token& found) const;
    SourceLocation Here(const Token& token) const;
    std::string Describe(SourceLocation where) const;

    void ParseFile(const std::string& name, std::string_view source);
    void ParseInclude(const Token& directive);
    void ParseDeclaration();

    // ParseParameter.cpp
    void ParseParameter(bool shared, const Token& type);
    static std::optional<ParameterKind> ParameterKindByName(std::string_view name);
    void ParseArraySize(Parameter& parameter);
    void ParseAnnotations(Parameter& parameter);
    void ParseInitialiser(Parameter& parameter);
    float ParseNumber(const std::string& purpose);
    void DeclareGlobalName(const Token& name);

    // ParseSampler.cpp
    void ParseSampler(const Token& type);
    void ParseSamplerState(Sampler& sampler, const Token& state);
    const Parameter* FindParameter(const std::string& name) const;

    // ParseShaderBlock.cpp
    void ParseShaderBlock();
    void ParseSignature(ShaderBlock& block);
    RawText ParseBody(const std::string& purpose);

    // ParseTechnique.cpp
    void ParseTechnique();
    void ParsePass(Technique& technique);
    void ParsePassSetting(Pass& pass, const Token& key, std::set<std::string>& given);
    const ShaderBlock* FindShader(const std::string& name) const;
    uint32_t ParseStateValue(const Token& key, StateValues values);

    const IncludeCallback& include;
    EffectDescription effect;
    std::deque<File> files; // the include chain, innermost last (a deque keeps outer ones in place)
    std::set<std::string> includedNames;
    std::map<std::string, SourceLocation> globalNames; // parameters and samplers share GLSL's scope
    std::map<std::string, std::string> semantics;      // semantic -> parameter
    std::vector<BlockText> commonBlocks;
    struct PendingBody {
        BlockText body;
        size_t commonBlocksBefore;
    };
    std::vector<PendingBody> bodies; // one per effect.shaders entry
};

} // namespace fx::detail
