// Samplers: sampler2D|samplerCUBE|sampler3D name '=' 'sampler_state' '{' { State '=' value ';' } '}' ';'
#include "Platform/Fx/detail/NamedValues.h"
#include "Platform/Fx/detail/Parser.h"

#include <array>

namespace fx::detail {

namespace {

constexpr uint32_t V(auto value) { return static_cast<uint32_t>(value); }

constexpr std::array Filters{
    NamedValue{"POINT", V(TextureFilter::Point)},
    NamedValue{"LINEAR", V(TextureFilter::Linear)},
    NamedValue{"ANISOTROPIC", V(TextureFilter::Anisotropic)},
};
constexpr std::array MipFilters{
    NamedValue{"NONE", V(TextureFilter::None)},
    NamedValue{"POINT", V(TextureFilter::Point)},
    NamedValue{"LINEAR", V(TextureFilter::Linear)},
};
constexpr std::array Addresses{
    NamedValue{"WRAP", V(TextureAddress::Wrap)},     NamedValue{"MIRROR", V(TextureAddress::Mirror)},
    NamedValue{"CLAMP", V(TextureAddress::Clamp)},   NamedValue{"BORDER", V(TextureAddress::Border)},
    NamedValue{"MIRRORONCE", V(TextureAddress::MirrorOnce)},
};

ParameterKind TextureKindOf(SamplerKind kind)
{
    switch (kind) {
    case SamplerKind::Sampler2D: return ParameterKind::Texture2D;
    case SamplerKind::SamplerCube: return ParameterKind::TextureCube;
    case SamplerKind::Sampler3D: return ParameterKind::Texture3D;
    }
    return ParameterKind::Texture2D;
}

const char* TextureTypeName(ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Texture2D: return "texture2D";
    case ParameterKind::TextureCube: return "textureCUBE";
    case ParameterKind::Texture3D: return "texture3D";
    default: return "not a texture";
    }
}

} // namespace

const Parameter* Parser::FindParameter(const std::string& name) const
{
    for (const Parameter& parameter : effect.parameters)
        if (parameter.name == name)
            return &parameter;
    return nullptr;
}

void Parser::ParseSampler(const Token& type)
{
    Sampler sampler;
    sampler.kind = type.text == "sampler2D"     ? SamplerKind::Sampler2D
                   : type.text == "samplerCUBE" ? SamplerKind::SamplerCube
                                                : SamplerKind::Sampler3D;
    const Token name = ExpectIdentifier("a sampler name after '" + type.text + "'");
    DeclareGlobalName(name);
    sampler.name = name.text;
    sampler.where = Here(name);
    if (effect.samplers.size() == MaxSamplers)
        Fail(name.line, "an effect holds at most " + std::to_string(MaxSamplers) + " samplers");
    ExpectSymbol("=", "after the sampler name " + sampler.name);
    ExpectWord("sampler_state", "after '" + sampler.name + " ='");
    ExpectSymbol("{", "to begin the states of " + sampler.name);
    std::set<std::string> given;
    while (!TakeSymbol("}")) {
        const Token state = ExpectIdentifier("a sampler state (Texture, Filter, MinFilter, MagFilter, MipFilter, "
                                             "Address, AddressU, AddressV, AddressW, BorderColor, MaxAnisotropy) or '}'");
        if (!given.insert(LowerCase(state.text)).second)
            Fail(state.line, state.text + " is given twice in " + sampler.name);
        ExpectSymbol("=", "after " + state.text);
        ParseSamplerState(sampler, state);
        ExpectSymbol(";", "to end the setting of " + state.text);
    }
    if (sampler.texture.empty())
        Fail(name.line, "sampler " + sampler.name + " has no Texture");
    ExpectSymbol(";", "after the states of " + sampler.name);
    effect.samplers.push_back(std::move(sampler));
}

void Parser::ParseSamplerState(Sampler& sampler, const Token& state)
{
    const auto keyword = [&](std::span<const NamedValue> table) {
        const Token value = Take();
        const auto found = value.kind == TokenKind::Identifier ? FindValue(table, value.text) : std::nullopt;
        if (!found)
            Expected(ListNames(table) + " as " + state.text, value);
        return *found;
    };
    const auto is = [&](std::string_view name) { return SameWordIgnoringCase(state.text, name); };

    if (is("Texture")) {
        const Token texture = ExpectIdentifier("the name of a texture parameter as Texture");
        const Parameter* parameter = FindParameter(texture.text);
        const ParameterKind wanted = TextureKindOf(sampler.kind);
        if (!parameter)
            Fail(texture.line, "no parameter named " + texture.text + " is declared before " + sampler.name);
        if (parameter->kind != wanted)
            Fail(texture.line, sampler.name + " needs a " + TextureTypeName(wanted) + ", but " + texture.text + " is " +
                                   (IsTexture(parameter->kind) ? std::string("a ") + TextureTypeName(parameter->kind)
                                                               : std::string("not a texture")));
        sampler.texture = texture.text;
    } else if (is("Filter")) {
        const auto filter = static_cast<TextureFilter>(keyword(Filters));
        sampler.minFilter = sampler.magFilter = filter;
        sampler.mipFilter = filter == TextureFilter::Anisotropic ? TextureFilter::Linear : filter;
    } else if (is("MinFilter")) {
        sampler.minFilter = static_cast<TextureFilter>(keyword(Filters));
    } else if (is("MagFilter")) {
        sampler.magFilter = static_cast<TextureFilter>(keyword(Filters));
    } else if (is("MipFilter")) {
        sampler.mipFilter = static_cast<TextureFilter>(keyword(MipFilters));
    } else if (is("Address")) {
        sampler.addressU = sampler.addressV = sampler.addressW = static_cast<TextureAddress>(keyword(Addresses));
    } else if (is("AddressU")) {
        sampler.addressU = static_cast<TextureAddress>(keyword(Addresses));
    } else if (is("AddressV")) {
        sampler.addressV = static_cast<TextureAddress>(keyword(Addresses));
    } else if (is("AddressW")) {
        sampler.addressW = static_cast<TextureAddress>(keyword(Addresses));
    } else if (is("BorderColor")) {
        ExpectSymbol("{", "to begin the four components of BorderColor");
        for (size_t i = 0; i < 4; ++i) {
            sampler.borderColor[i] = ParseNumber("in BorderColor");
            if (i < 3)
                ExpectSymbol(",", "between the four components of BorderColor");
        }
        ExpectSymbol("}", "after the four components of BorderColor");
    } else if (is("MaxAnisotropy")) {
        const Token value = Take();
        const bool whole = value.kind == TokenKind::Number && value.text.size() <= 2 &&
                           value.text.find_first_not_of("0123456789") == std::string::npos;
        const uint32_t number = whole ? static_cast<uint32_t>(std::stoul(value.text)) : 0;
        if (number < 1 || number > MaxAnisotropy)
            Expected("a whole number from 1 to " + std::to_string(MaxAnisotropy) + " as MaxAnisotropy", value);
        sampler.maxAnisotropy = number;
    } else {
        Fail(state.line, "unknown sampler state " + state.text + " (Texture, Filter, MinFilter, MagFilter, MipFilter, "
                                                                  "Address, AddressU, AddressV, AddressW, BorderColor or MaxAnisotropy)");
    }
}

} // namespace fx::detail
