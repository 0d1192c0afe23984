#include "Platform/Fx/StageSemantics.h"

#include "Platform/Fx/detail/NamedValues.h"

#include <array>
#include <span>

namespace fx {

namespace {

// Vertex inputs in location order: 16 attributes, the least every GL 3.3 implementation offers.
constexpr std::array<StageSemantic, 16> VertexInputs{{
    {Usage::Position, 0, 0},
    {Usage::Normal, 0, 1},
    {Usage::Color, 0, 2},
    {Usage::Color, 1, 3},
    {Usage::Texcoord, 0, 4},
    {Usage::Texcoord, 1, 5},
    {Usage::Texcoord, 2, 6},
    {Usage::Texcoord, 3, 7},
    {Usage::Texcoord, 4, 8},
    {Usage::Texcoord, 5, 9},
    {Usage::Texcoord, 6, 10},
    {Usage::Texcoord, 7, 11},
    {Usage::Position, 1, 12},
    {Usage::Tangent, 0, 13},
    {Usage::Binormal, 0, 14},
    {Usage::BlendWeight, 0, 15},
}};

constexpr std::array<StageSemantic, MaxRenderTargets> FragmentOutputs{{
    {Usage::Color, 0, 0},
    {Usage::Color, 1, 1},
    {Usage::Color, 2, 2},
    {Usage::Color, 3, 3},
}};

constexpr std::array UsageNames{
    detail::NamedValue{"POSITION", static_cast<uint32_t>(Usage::Position)},
    detail::NamedValue{"BLENDWEIGHT", static_cast<uint32_t>(Usage::BlendWeight)},
    detail::NamedValue{"NORMAL", static_cast<uint32_t>(Usage::Normal)},
    detail::NamedValue{"TEXCOORD", static_cast<uint32_t>(Usage::Texcoord)},
    detail::NamedValue{"TANGENT", static_cast<uint32_t>(Usage::Tangent)},
    detail::NamedValue{"BINORMAL", static_cast<uint32_t>(Usage::Binormal)},
    detail::NamedValue{"COLOR", static_cast<uint32_t>(Usage::Color)},
};

std::span<const StageSemantic> Semantics(ShaderStage stage)
{
    if (stage == ShaderStage::Vertex)
        return VertexInputs;
    return FragmentOutputs;
}

} // namespace

std::optional<StageSemantic> FindStageSemantic(ShaderStage stage, Usage usage, uint8_t index)
{
    for (const StageSemantic& semantic : Semantics(stage))
        if (semantic.usage == usage && semantic.index == index)
            return semantic;
    return std::nullopt;
}

std::optional<StageSemantic> FindStageSemantic(ShaderStage stage, std::string_view name)
{
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    const std::string_view number = name.substr(digits);
    // One digit at most: every index is below 8, and "TEXCOORD01" is no semantic.
    if (number.size() > 1)
        return std::nullopt;
    const auto usage = detail::FindValue(UsageNames, name.substr(0, digits));
    if (!usage)
        return std::nullopt;
    const uint8_t index = number.empty() ? 0 : static_cast<uint8_t>(number[0] - '0');
    return FindStageSemantic(stage, static_cast<Usage>(*usage), index);
}

std::string SemanticName(Usage usage, uint8_t index)
{
    for (const detail::NamedValue& entry : UsageNames)
        if (entry.value == static_cast<uint32_t>(usage))
            return std::string(entry.name) + std::to_string(index);
    return "usage " + std::to_string(static_cast<unsigned>(usage)) + " index " + std::to_string(index);
}

std::string StageSemanticNames(ShaderStage stage)
{
    std::string list;
    const auto semantics = Semantics(stage);
    for (size_t i = 0; i < semantics.size(); ++i) {
        if (i > 0)
            list += i + 1 == semantics.size() ? " or " : ", ";
        list += SemanticName(semantics[i].usage, semantics[i].index);
    }
    return list;
}

} // namespace fx
