// Builds the complete GLSL source of a shader block: the version, a uniform for every parameter
// and sampler of the effect, the block's inputs or outputs at their fixed locations, the effect's
// common blocks and the block's own code; and the table that points every line after the version
// back to the effect file it came from. No #line directives: Mesa drops their file numbers, so
// compiler messages are mapped through the table instead.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <span>
#include <string>

namespace fx::detail {

struct BlockText {
    std::string text;
    SourceLocation where; // where text starts
};

// Fills block.source and block.lines.
void GenerateGlsl(const EffectDescription& effect, ShaderBlock& block, std::span<const BlockText> commonBlocks,
                  const BlockText& body);

} // namespace fx::detail
