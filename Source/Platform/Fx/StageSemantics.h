// The semantics of shader block signatures: the vertex inputs a vertex block may declare, by
// Direct3D usage and usage index, and the colour outputs of a fragment block. Each has a fixed
// GLSL location, so that a vertex declaration binds to every program the same way.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fx {

constexpr uint32_t MaxRenderTargets = 4; // COLOR0 .. COLOR3

struct StageSemantic {
    Usage usage;
    uint8_t index;
    uint8_t location;
};

// "TEXCOORD3", "POSITION1", "COLOR0" (case is ignored; a bare "TEXCOORD" means index 0);
// nullopt when the stage has no such semantic.
std::optional<StageSemantic> FindStageSemantic(ShaderStage stage, std::string_view name);
std::optional<StageSemantic> FindStageSemantic(ShaderStage stage, Usage usage, uint8_t index);
// "TEXCOORD3".
std::string SemanticName(Usage usage, uint8_t index);
// Every semantic the stage accepts, for messages.
std::string StageSemanticNames(ShaderStage stage);

} // namespace fx
