#include "Platform/Fx/detail/CheckEffect.h"

#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/RenderStates.h"
#include "Platform/Fx/StageSemantics.h"

#include <set>

namespace fx::detail {

namespace {

class Checker {
public:
    Checker(const EffectDescription& effect, const std::string& name) : effect(effect), name(name) {}

    void Run()
    {
        Require(!effect.files.empty(), "the effect names no source file");
        std::set<std::string> globals;
        std::set<std::string> semantics;
        for (const Parameter& parameter : effect.parameters) {
            CheckParameter(parameter);
            Require(globals.insert(parameter.name).second, "the name " + parameter.name + " is declared twice");
            Require(parameter.semantic.empty() || semantics.insert(parameter.semantic).second,
                    "semantic " + parameter.semantic + " is given to two parameters");
        }
        Require(effect.samplers.size() <= MaxSamplers, "more than " + std::to_string(MaxSamplers) + " samplers");
        for (const Sampler& sampler : effect.samplers) {
            CheckSampler(sampler);
            Require(globals.insert(sampler.name).second, "the name " + sampler.name + " is declared twice");
        }
        std::set<std::string> shaders;
        for (const ShaderBlock& block : effect.shaders) {
            CheckShader(block);
            Require(shaders.insert(block.name).second, "two glsl blocks are named " + block.name);
        }
        std::set<std::string> techniques;
        for (const Technique& technique : effect.techniques) {
            CheckTechnique(technique);
            Require(techniques.insert(technique.name).second, "two techniques are named " + technique.name);
        }
    }

private:
    void Require(bool holds, const std::string& fault) const
    {
        if (!holds)
            throw EffectError(name, 0, fault);
    }

    void CheckName(const std::string& text, const std::string& what, bool inGlsl = false) const
    {
        Require(inGlsl ? IsGlslName(text) : IsIdentifier(text), what + " \"" + text + "\" is not a valid name");
    }

    void CheckWhere(SourceLocation where, const std::string& what) const
    {
        Require(where.file < effect.files.size(), what + " names source file " + std::to_string(where.file) +
                                                      " of " + std::to_string(effect.files.size()));
    }

    void CheckParameter(const Parameter& parameter) const
    {
        CheckName(parameter.name, "parameter", true);
        const std::string what = "parameter " + parameter.name;
        CheckWhere(parameter.where, what);
        Require(parameter.kind <= ParameterKind::Texture3D, what + " has an unknown kind");
        Require(parameter.elements <= MaxArrayElements, what + " has more than " + std::to_string(MaxArrayElements) + " elements");
        Require(parameter.elements == 0 || (ComponentCount(parameter.kind) != 0 && parameter.kind != ParameterKind::Float4x4),
                what + " is an array of a kind that cannot be one");
        Require(parameter.semantic.empty() || IsIdentifier(parameter.semantic), what + " has an invalid semantic");
        Require(parameter.defaultValue.empty() || parameter.defaultValue.size() == FloatCount(parameter),
                what + " has " + std::to_string(parameter.defaultValue.size()) + " initial values for " +
                    std::to_string(FloatCount(parameter)) + " floats");
        std::set<std::string> annotations;
        for (const Annotation& annotation : parameter.annotations) {
            CheckName(annotation.name, "an annotation of " + what);
            Require(annotations.insert(annotation.name).second, what + " has annotation " + annotation.name + " twice");
        }
    }

    void CheckSampler(const Sampler& sampler) const
    {
        CheckName(sampler.name, "sampler", true);
        const std::string what = "sampler " + sampler.name;
        CheckWhere(sampler.where, what);
        const ParameterKind wanted = sampler.kind == SamplerKind::Sampler2D     ? ParameterKind::Texture2D
                                     : sampler.kind == SamplerKind::SamplerCube ? ParameterKind::TextureCube
                                                                                : ParameterKind::Texture3D;
        Require(sampler.kind <= SamplerKind::Sampler3D, what + " has an unknown kind");
        const Parameter* texture = nullptr;
        for (const Parameter& parameter : effect.parameters)
            if (parameter.name == sampler.texture)
                texture = &parameter;
        Require(texture && texture->kind == wanted, what + " needs a texture parameter of its kind, not \"" + sampler.texture + "\"");
        const auto filter = [&](TextureFilter value, bool mip) {
            Require(value <= TextureFilter::Anisotropic && (mip || value != TextureFilter::None) &&
                        (!mip || value != TextureFilter::Anisotropic),
                    what + " has an invalid filter");
        };
        filter(sampler.minFilter, false);
        filter(sampler.magFilter, false);
        filter(sampler.mipFilter, true);
        for (const TextureAddress address : {sampler.addressU, sampler.addressV, sampler.addressW})
            Require(address >= TextureAddress::Wrap && address <= TextureAddress::MirrorOnce, what + " has an invalid address mode");
        Require(sampler.maxAnisotropy >= 1 && sampler.maxAnisotropy <= MaxAnisotropy, what + " has an invalid MaxAnisotropy");
    }

    void CheckShader(const ShaderBlock& block) const
    {
        CheckName(block.name, "glsl block");
        const std::string what = "glsl block " + block.name;
        CheckWhere(block.where, what);
        Require(block.stage <= ShaderStage::Fragment, what + " has an unknown stage");
        uint32_t previous = 0;
        for (const LineSpan& span : block.lines) {
            Require(span.firstLine > previous, what + " has a line table out of order");
            CheckWhere(span.where, "the line table of " + what);
            previous = span.firstLine;
        }
        std::set<std::string> names;
        std::set<uint8_t> locations;
        for (const StageVariable& variable : block.variables) {
            CheckName(variable.name, "a variable of " + what, true);
            Require(variable.type <= GlslType::Vec4, what + ": " + variable.name + " has an unknown type");
            const auto semantic = FindStageSemantic(block.stage, variable.usage, variable.usageIndex);
            Require(semantic && semantic->location == variable.location,
                    what + ": " + variable.name + " has a semantic or location its stage does not take");
            Require(names.insert(variable.name).second && locations.insert(variable.location).second,
                    what + " declares " + variable.name + " or its semantic twice");
        }
    }

    const ShaderBlock* Shader(const std::string& shaderName) const
    {
        for (const ShaderBlock& block : effect.shaders)
            if (block.name == shaderName)
                return &block;
        return nullptr;
    }

    void CheckTechnique(const Technique& technique) const
    {
        CheckName(technique.name, "technique");
        CheckWhere(technique.where, "technique " + technique.name);
        Require(!technique.passes.empty(), "technique " + technique.name + " has no pass");
        std::set<std::string> passes;
        for (const Pass& pass : technique.passes) {
            const std::string what = "pass " + pass.name + " of technique " + technique.name;
            CheckName(pass.name, "a pass of technique " + technique.name);
            CheckWhere(pass.where, what);
            Require(passes.insert(pass.name).second, "technique " + technique.name + " has two passes named " + pass.name);
            const ShaderBlock* vertex = Shader(pass.vertexShader);
            const ShaderBlock* fragment = Shader(pass.pixelShader);
            Require(vertex && vertex->stage == ShaderStage::Vertex, what + " names no vertex block (\"" + pass.vertexShader + "\")");
            Require(fragment && fragment->stage == ShaderStage::Fragment,
                    what + " names no fragment block (\"" + pass.pixelShader + "\")");
            std::set<RenderState> states;
            for (const StateSetting& setting : pass.states) {
                const RenderStateInfo* info = FindRenderState(setting.state);
                Require(info, what + " sets unknown render state " + std::to_string(static_cast<uint32_t>(setting.state)));
                Require(states.insert(setting.state).second, what + " sets " + std::string(info->name) + " twice");
                Require(IsValidStateValue(info->values, setting.value),
                        what + " sets " + std::string(info->name) + " to invalid value " + std::to_string(setting.value));
            }
        }
    }

    const EffectDescription& effect;
    const std::string& name;
};

} // namespace

bool IsGlslName(const std::string& name)
{
    return IsIdentifier(name) && name.rfind("gl_", 0) != 0 && name.find("__") == std::string::npos;
}

bool IsIdentifier(const std::string& name)
{
    if (name.empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

void CheckEffect(const EffectDescription& effect, const std::string& name)
{
    Checker(effect, name).Run();
}

} // namespace fx::detail
