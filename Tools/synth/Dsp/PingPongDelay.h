// Stereo echo: the send enters the left line, each echo crosses to the other side, and a tone
// filter in the loop makes every repeat darker than the last, as tape echoes do.
#pragma once

#include "Dsp/DelayLine.h"
#include "Dsp/Filter.h"

namespace synth {

struct DelaySettings {
    double seconds = 0.35;
    float feedback = 0.4f;  // 0..0.95
    float toneHz = 4000.0f; // low-pass in the loop
};

class PingPongDelay {
public:
    explicit PingPongDelay(const DelaySettings& settings);

    // Replaces the send signal in left/right with the echoes.
    void Process(float* left, float* right, int frames);

private:
    DelayLine leftLine, rightLine;
    float feedback;
    Filter toneLeft, toneRight;
    Filter lowCutLeft, lowCutRight;
};

} // namespace synth
