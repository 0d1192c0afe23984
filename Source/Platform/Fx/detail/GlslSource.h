// Builds the complete GLSL source of a shader block: the version, a uniform for every parameter
// and sampler of the effect, the block's inputs or outputs at their fixed locations, the effect's
// common blocks and the block's own code, with #line directives that point every line back to
// the effect file it came from.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <span>
#include <string>

namespace fx::detail {

struct BlockText {
    std::string text;
    SourceLocation where; // where text starts
};

std::string GlslSource(const EffectDescription& effect, const ShaderBlock& block,
                       std::span<const BlockText> commonBlocks, const BlockText& body);

} // namespace fx::detail
