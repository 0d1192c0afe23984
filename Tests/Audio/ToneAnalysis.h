// Measures a tone in interleaved float audio: where it sounds, its pitch and its level.
#pragma once

#include <cstddef>
#include <vector>

struct ToneMeasure {
    size_t first = 0; // first frame above the threshold
    size_t last = 0;  // last frame above the threshold
    double seconds = 0.0;
    double frequency = 0.0; // from zero crossings, with hysteresis against coding noise
    double peak = 0.0;
    double rms = 0.0;
};

// Throws std::runtime_error when no sample of that channel reaches the threshold.
ToneMeasure MeasureTone(const std::vector<float>& samples, int channels, int channel, long rate, float threshold);
