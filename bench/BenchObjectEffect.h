// The effect an object of the show is drawn with, cut down to what the effect runtime benchmarks
// need: one technique "Default" of one pass, the object's LOCALVIEWPROJ (the only object matrix
// DrawObject sets here), a light matrix and a few colours set by semantic, and two shared values.
#pragma once

#include <string>
#include <vector>

// "Object.fx", as the registry names it; the archive holds it as "OShaders\Object.fxo".
extern const std::string ObjectEffectFile;
// The compiled form.
std::vector<unsigned char> CompiledObjectEffect();
// Every semantic the effect declares, for warming an effect's semantic cache as a frame of the
// show does.
const std::vector<std::string>& ObjectEffectSemantics();
