// Messages of a GLSL compiler about the generated source of a shader block, pointed back at the
// effect's files through the block's line table: "ERROR: 0:14: ..." from glslangValidator or
// "0:14(7): error: ..." from a GL driver becomes "common.fxh:3: error: ...".
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fx {

struct GlslMessage {
    bool located = false; // false: a line of the log that names no place, kept as it was
    std::string text;
};

// files names the effect's files in the messages (usually the description's files).
std::vector<GlslMessage> LocateGlslLog(const std::vector<std::string>& files, const ShaderBlock& block,
                                       std::string_view log);

// The effect file and line of a line of the block's source; nullopt for the version line and
// for lines past the end.
std::optional<SourceLocation> SourceOfLine(const ShaderBlock& block, uint32_t generatedLine);

} // namespace fx
