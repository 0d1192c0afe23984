// The effect the effect benchmarks share: 500 lines of the show's kind (shared parameters,
// samplers, a dozen glsl blocks, techniques of several passes), so that parsing it, loading its
// compiled form and creating it on a device are figures about the same effect.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <string>
#include <vector>

constexpr int BenchEffectLines = 500;

// The source, "Bench.fx"; it includes "common.fxh".
std::string BenchEffectSource();
// The source parsed, with "common.fxh" served from memory.
fx::EffectDescription ParseBenchEffect(const std::string& source);
// Its compiled form, as the archive holds it.
std::vector<unsigned char> CompiledBenchEffect();
