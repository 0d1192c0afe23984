#include "Platform/Fx/CompiledEffect.h"

#include "Platform/Fx/detail/ByteReader.h"
#include "Platform/Fx/detail/ByteWriter.h"
#include "Platform/Fx/detail/CheckEffect.h"

#include <cstring>

namespace fx {

namespace {

constexpr char Magic[4] = {'Q', 'L', 'F', 'X'};

// The fewest bytes each item can take, which bounds every count by the bytes left.
constexpr size_t StringBytes = 4;
constexpr size_t LocationBytes = 8;
constexpr size_t ParameterBytes = StringBytes + 1 + 4 + StringBytes + 1 + 4 + 4 + LocationBytes;
constexpr size_t SamplerBytes = StringBytes + 1 + StringBytes + 6 + 16 + 4 + LocationBytes;
constexpr size_t VariableBytes = StringBytes + 4;
constexpr size_t LineSpanBytes = 4 + LocationBytes;
constexpr size_t ShaderBytes = StringBytes + 1 + 4 + StringBytes + 4 + LocationBytes;
constexpr size_t PassBytes = 3 * StringBytes + 4 + LocationBytes;
constexpr size_t TechniqueBytes = StringBytes + LocationBytes + 4;

void Write(detail::ByteWriter& out, SourceLocation where)
{
    out.U32(where.file);
    out.U32(where.line);
}

SourceLocation ReadLocation(detail::ByteReader& in)
{
    SourceLocation where;
    where.file = in.U32("a source file index");
    where.line = in.U32("a line number");
    return where;
}

void Write(detail::ByteWriter& out, const Parameter& parameter)
{
    out.String(parameter.name);
    out.U8(static_cast<uint8_t>(parameter.kind));
    out.U32(parameter.elements);
    out.String(parameter.semantic);
    out.U8(parameter.shared ? 1 : 0);
    out.U32(static_cast<uint32_t>(parameter.annotations.size()));
    for (const Annotation& annotation : parameter.annotations) {
        out.String(annotation.name);
        out.String(annotation.value);
    }
    out.U32(static_cast<uint32_t>(parameter.defaultValue.size()));
    for (const float value : parameter.defaultValue)
        out.F32(value);
    Write(out, parameter.where);
}

Parameter ReadParameter(detail::ByteReader& in)
{
    Parameter parameter;
    parameter.name = in.String("a parameter name");
    parameter.kind = static_cast<ParameterKind>(in.U8("a parameter kind"));
    parameter.elements = in.U32("an element count");
    parameter.semantic = in.String("a semantic");
    parameter.shared = in.Bool("the shared flag");
    const uint32_t annotations = in.Count(2 * StringBytes, "annotations");
    for (uint32_t i = 0; i < annotations; ++i) {
        Annotation annotation;
        annotation.name = in.String("an annotation name");
        annotation.value = in.String("an annotation value");
        parameter.annotations.push_back(std::move(annotation));
    }
    const uint32_t values = in.Count(4, "initial values");
    for (uint32_t i = 0; i < values; ++i)
        parameter.defaultValue.push_back(in.F32("an initial value"));
    parameter.where = ReadLocation(in);
    return parameter;
}

void Write(detail::ByteWriter& out, const Sampler& sampler)
{
    out.String(sampler.name);
    out.U8(static_cast<uint8_t>(sampler.kind));
    out.String(sampler.texture);
    for (const TextureFilter filter : {sampler.minFilter, sampler.magFilter, sampler.mipFilter})
        out.U8(static_cast<uint8_t>(filter));
    for (const TextureAddress address : {sampler.addressU, sampler.addressV, sampler.addressW})
        out.U8(static_cast<uint8_t>(address));
    for (const float component : sampler.borderColor)
        out.F32(component);
    out.U32(sampler.maxAnisotropy);
    Write(out, sampler.where);
}

Sampler ReadSampler(detail::ByteReader& in)
{
    Sampler sampler;
    sampler.name = in.String("a sampler name");
    sampler.kind = static_cast<SamplerKind>(in.U8("a sampler kind"));
    sampler.texture = in.String("a sampler's texture");
    for (TextureFilter* filter : {&sampler.minFilter, &sampler.magFilter, &sampler.mipFilter})
        *filter = static_cast<TextureFilter>(in.U8("a filter"));
    for (TextureAddress* address : {&sampler.addressU, &sampler.addressV, &sampler.addressW})
        *address = static_cast<TextureAddress>(in.U8("an address mode"));
    for (float& component : sampler.borderColor)
        component = in.F32("a border colour");
    sampler.maxAnisotropy = in.U32("the maximum anisotropy");
    sampler.where = ReadLocation(in);
    return sampler;
}

void Write(detail::ByteWriter& out, const ShaderBlock& block)
{
    out.String(block.name);
    out.U8(static_cast<uint8_t>(block.stage));
    out.U32(static_cast<uint32_t>(block.variables.size()));
    for (const StageVariable& variable : block.variables) {
        out.String(variable.name);
        out.U8(static_cast<uint8_t>(variable.type));
        out.U8(static_cast<uint8_t>(variable.usage));
        out.U8(variable.usageIndex);
        out.U8(variable.location);
    }
    out.String(block.source);
    out.U32(static_cast<uint32_t>(block.lines.size()));
    for (const LineSpan& span : block.lines) {
        out.U32(span.firstLine);
        Write(out, span.where);
    }
    Write(out, block.where);
}

ShaderBlock ReadShader(detail::ByteReader& in)
{
    ShaderBlock block;
    block.name = in.String("a glsl block name");
    block.stage = static_cast<ShaderStage>(in.U8("a shader stage"));
    const uint32_t variables = in.Count(VariableBytes, "stage variables");
    for (uint32_t i = 0; i < variables; ++i) {
        StageVariable variable;
        variable.name = in.String("a stage variable name");
        variable.type = static_cast<GlslType>(in.U8("a GLSL type"));
        variable.usage = static_cast<Usage>(in.U8("a usage"));
        variable.usageIndex = in.U8("a usage index");
        variable.location = in.U8("a location");
        block.variables.push_back(std::move(variable));
    }
    block.source = in.String("a GLSL source");
    const uint32_t spans = in.Count(LineSpanBytes, "line spans");
    for (uint32_t i = 0; i < spans; ++i) {
        LineSpan span;
        span.firstLine = in.U32("a generated line");
        span.where = ReadLocation(in);
        block.lines.push_back(span);
    }
    block.where = ReadLocation(in);
    return block;
}

void Write(detail::ByteWriter& out, const Technique& technique)
{
    out.String(technique.name);
    Write(out, technique.where);
    out.U32(static_cast<uint32_t>(technique.passes.size()));
    for (const Pass& pass : technique.passes) {
        out.String(pass.name);
        out.String(pass.vertexShader);
        out.String(pass.pixelShader);
        out.U32(static_cast<uint32_t>(pass.states.size()));
        for (const StateSetting& setting : pass.states) {
            out.U32(static_cast<uint32_t>(setting.state));
            out.U32(setting.value);
        }
        Write(out, pass.where);
    }
}

Technique ReadTechnique(detail::ByteReader& in)
{
    Technique technique;
    technique.name = in.String("a technique name");
    technique.where = ReadLocation(in);
    const uint32_t passes = in.Count(PassBytes, "passes");
    for (uint32_t i = 0; i < passes; ++i) {
        Pass pass;
        pass.name = in.String("a pass name");
        pass.vertexShader = in.String("a vertex block name");
        pass.pixelShader = in.String("a fragment block name");
        const uint32_t states = in.Count(8, "render states");
        for (uint32_t j = 0; j < states; ++j) {
            StateSetting setting;
            setting.state = static_cast<RenderState>(in.U32("a render state"));
            setting.value = in.U32("a render state value");
            pass.states.push_back(setting);
        }
        pass.where = ReadLocation(in);
        technique.passes.push_back(std::move(pass));
    }
    return technique;
}

template <typename Item>
void WriteAll(detail::ByteWriter& out, const std::vector<Item>& items)
{
    out.U32(static_cast<uint32_t>(items.size()));
    for (const Item& item : items)
        Write(out, item);
}

template <typename Item, typename ReadItem>
std::vector<Item> ReadAll(detail::ByteReader& in, size_t minimumBytes, const char* what, ReadItem read)
{
    const uint32_t count = in.Count(minimumBytes, what);
    std::vector<Item> items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        items.push_back(read(in));
    return items;
}

} // namespace

std::vector<unsigned char> SaveCompiledEffect(const EffectDescription& effect)
{
    detail::ByteWriter out;
    out.Raw(Magic, sizeof Magic);
    out.U32(CompiledEffectVersion);
    out.U32(static_cast<uint32_t>(effect.files.size()));
    for (const std::string& file : effect.files)
        out.String(file);
    WriteAll(out, effect.parameters);
    WriteAll(out, effect.samplers);
    WriteAll(out, effect.shaders);
    WriteAll(out, effect.techniques);
    return std::move(out.bytes);
}

bool IsCompiledEffect(std::span<const unsigned char> bytes)
{
    return bytes.size() >= sizeof Magic && std::memcmp(bytes.data(), Magic, sizeof Magic) == 0;
}

EffectDescription LoadCompiledEffect(const std::string& name, std::span<const unsigned char> bytes)
{
    detail::ByteReader in(bytes, name);
    if (!IsCompiledEffect(bytes))
        in.Fail("not a compiled effect (it does not start with \"QLFX\")");
    for (size_t i = 0; i < sizeof Magic; ++i)
        in.U8("the signature");
    const uint32_t version = in.U32("the version");
    if (version != CompiledEffectVersion)
        in.Fail("compiled effect of version " + std::to_string(version) + "; this build reads version " +
                std::to_string(CompiledEffectVersion));

    EffectDescription effect;
    effect.files = ReadAll<std::string>(in, StringBytes, "source files",
                                        [](detail::ByteReader& r) { return r.String("a source file name"); });
    effect.parameters = ReadAll<Parameter>(in, ParameterBytes, "parameters", ReadParameter);
    effect.samplers = ReadAll<Sampler>(in, SamplerBytes, "samplers", ReadSampler);
    effect.shaders = ReadAll<ShaderBlock>(in, ShaderBytes, "glsl blocks", ReadShader);
    effect.techniques = ReadAll<Technique>(in, TechniqueBytes, "techniques", ReadTechnique);
    if (!in.AtEnd())
        in.Fail("unexpected data after the last technique: " + std::to_string(bytes.size() - in.Offset()) + " byte(s)");
    detail::CheckEffect(effect, name);
    return effect;
}

} // namespace fx
