// Reads a score (Data/music/README.md describes the form). Every fault is a SynthError whose
// message starts with "file:line: ".
#pragma once

#include "Score/Score.h"

#include <string>

namespace synth {

Score ParseScore(const std::string& text, const std::string& fileName);
Score LoadScore(const std::string& path);

} // namespace synth
