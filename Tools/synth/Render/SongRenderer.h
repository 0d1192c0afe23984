// Renders a whole score to stereo samples at 44.1 kHz: every instrument's voices through its
// mixer strip (gain, pan, ducking, sends), the echo and reverb returns, the master bus and its
// limiter. Single-threaded and seeded from the score alone, so the output never varies.
#pragma once

#include "Score/Score.h"

#include <vector>

namespace synth {

struct StereoBuffer {
    std::vector<float> left, right;
};

StereoBuffer RenderSong(const Score& score);

} // namespace synth
