// The value of one automated parameter over the song: the setting's own value before its first
// ramp, a ramp inside each segment, and the last ramp's end value after it.
#pragma once

#include "Score/Score.h"

#include <vector>

namespace synth {

class AutomationLane {
public:
    AutomationLane(const Score& score, int instrument, AutomatedParam param, float base);

    float ValueAt(double bar) const;

private:
    AutomatedParam param;
    float base;
    std::vector<AutomationSegment> segments; // by start
};

} // namespace synth
