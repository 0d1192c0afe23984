// The rules every effect description keeps, whether parsed or loaded from compiled data: names
// are unique and GLSL-safe, every reference resolves, every enumerated value is known.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <string>

namespace fx::detail {

// Throws EffectError(name, 0, the first broken rule).
void CheckEffect(const EffectDescription& effect, const std::string& name);

// [A-Za-z_][A-Za-z0-9_]*.
bool IsIdentifier(const std::string& name);
// An identifier that GLSL does not reserve (gl_ prefix, __): names that become GLSL variables.
bool IsGlslName(const std::string& name);

} // namespace fx::detail
