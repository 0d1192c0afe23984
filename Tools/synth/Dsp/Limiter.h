// Master limiter for a whole rendered track held in memory. It looks ahead, so the gain is
// already down when a peak arrives, and it measures peaks between samples too (4x
// interpolation), so the decoded signal stays under the ceiling, not just its samples.
#pragma once

#include <vector>

namespace synth {

struct LimiterSettings {
    float ceilingDb = -1.5f;  // true-peak ceiling, dBFS
    float lookahead = 0.0015f; // seconds over which the gain ramps down before a peak
    float release = 0.08f;     // seconds for the gain to recover most of the way
};

// Peak of the signal including interpolated points between samples, linear.
float TruePeak(const std::vector<float>& left, const std::vector<float>& right);

// Applies the limiter in place; both channels share one gain so the stereo image stays put.
void Limit(std::vector<float>& left, std::vector<float>& right, const LimiterSettings& settings);

} // namespace synth
