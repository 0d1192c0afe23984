// Archive entries for the post-processing tests: the show's own effects compiled from Data/Shaders
// with their includes, and the sync tracks a camera reads.
#pragma once

#include <map>
#include <string>
#include <vector>

// The compiled form of Data/Shaders/<fileName> (e.g. "PostEffects.fx").
std::vector<unsigned char> CompiledShowEffect(const std::string& fileName);

// "CamZOffset", "ShakeAmplitude", "ShakeSpeed" and "ActiveCam", each 0 at every row, under their
// archive names.
std::map<std::string, std::vector<unsigned char>> StillCameraTracks();
