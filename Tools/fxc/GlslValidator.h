// Checks the GLSL of an effect with glslang, in this process (a validator process per block made
// an effect's compile take seconds): every glsl block compiled on its own, then the vertex and
// fragment block of every pass linked together, as the driver will link them.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <string>
#include <vector>

// files names the effect's files in messages (one per effect.files entry, e.g. with their folder).
// Throws InputError holding one "file:line: error: ..." line per fault glslang reports.
void ValidateGlsl(const fx::EffectDescription& effect, const std::vector<std::string>& files);
