// Checks the GLSL of an effect with glslangValidator: every glsl block compiled on its own, then
// the vertex and fragment block of every pass linked together, as the driver will link them.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <string>
#include <vector>

// files names the effect's files in messages (one per effect.files entry, e.g. with their folder).
// Throws InputError holding one "file:line: error: ..." line per fault the validator reports.
void ValidateGlsl(const fx::EffectDescription& effect, const std::vector<std::string>& files, const std::string& validator);
