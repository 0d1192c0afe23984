// The post-processing effect as it was before its passes were made cheaper, so that a test or a
// benchmark can render the same frames with both in one run: the show's compiled "PostEffects.fx"
// with the glsl blocks of Tests/Support/PostEffectsBefore.fx (the earlier code of each pass that
// changed) in place of its own blocks of the same names. Everything else (parameters, samplers,
// techniques, the passes nobody changed) is the show's own, whatever else changes in it.
#pragma once

#include <string>
#include <vector>

// The show's archive at archivePath, with the earlier effect stored as entryName: as
// "OShaders\PostEffects.fxo" it stands in for the show's own, under another name it comes beside
// it. Throws std::runtime_error when the archive lacks the effect or "Shaders\common.fxh", or when
// a block of the earlier code has no block of its name in the show's effect; fx::EffectError when
// that code does not parse.
std::vector<unsigned char> ShowArchiveWithPostEffectsBefore(const std::string& archivePath, const std::string& entryName);
