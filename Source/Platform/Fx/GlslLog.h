// Messages of a GLSL compiler about a shader of an effect, pointed back at the effect's files.
// The generated sources number every file in #line directives (file n is source string n + 1),
// so "ERROR: 2:14: ..." from glslangValidator or "2:14(7): error: ..." from a GL driver becomes
// "common.fxh:14: error: ...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fx {

struct GlslMessage {
    bool located = false; // false: a line of the log that names no place, kept as it was
    std::string text;
};

std::vector<GlslMessage> LocateGlslLog(const std::vector<std::string>& files, std::string_view log);

} // namespace fx
