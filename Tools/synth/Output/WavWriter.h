// 32-bit float stereo WAV, for looking at a render with sox, ffmpeg or an editor.
#pragma once

#include "Render/SongRenderer.h"

#include <string>
#include <vector>

namespace synth {

std::vector<unsigned char> EncodeWav(const StereoBuffer& audio);

} // namespace synth
