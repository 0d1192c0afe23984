// The show's effects as they were before their passes were made cheaper, so that a test or a
// benchmark can render the same frames with both in one run: each changed effect compiled from the
// show's archive with the glsl blocks and samplers of its earlier code (Tests/Support/<name>Before.fx)
// in place of its own of the same names. Everything else (parameters, techniques, the passes
// nobody changed) is the show's own, whatever else changes in it.
#pragma once

#include <string>
#include <vector>

struct EarlierEffect {
    const char* name;        // the effect's name in DXEffectHandler
    const char* file;        // the show's, "PostEffects.fx"
    const char* earlierFile; // the earlier effect's name beside it, "PostEffectsBefore.fx"
};

// The effects whose earlier code Tests/Support keeps.
const std::vector<EarlierEffect>& EarlierEffects();

// Where the earlier effects go: in place of the show's own (OShaders\PostEffects.fxo), or beside
// them under their earlier names (OShaders\PostEffectsBefore.fxo), for a run that loads both.
enum class EarlierPlace { InPlace, Beside };

// The show's archive at archivePath with the earlier effects. Throws std::runtime_error when the
// archive lacks an effect or "Shaders\common.fxh", or when a block or sampler of the earlier code
// has none of its name in the show's effect; fx::EffectError when that code does not parse.
std::vector<unsigned char> ShowArchiveWithEffectsBefore(const std::string& archivePath, EarlierPlace place);

// The show's modules and the scroller scene drawing as they did before their draws were made
// cheaper (the blurs and the depth of field in their plain rounds at full size, each light's sphere
// alone, the occlusion and the box's velocity blur at full size, the bloom's levels read by its
// full-size pass, the swarm's drops in two draws, the scroller's solid picture through the back
// buffer and its environment cube at 512), or as they do now. Needs the show's modules registered.
void UseEarlierDraws(bool earlier);
