// Sidechain ducking driven by the kick's notes rather than its audio: at each kick the ducked
// parts dip within a few milliseconds and swell back over the release, the "pump" of a four-
// to-the-floor mix. Knowing the notes in advance keeps it sample-exact and free of detector lag.
#pragma once

#include <vector>

namespace synth {

class DuckEnvelope {
public:
    // triggers: sample positions of the kicks, ascending.
    DuckEnvelope(std::vector<long> triggers, float releaseSeconds);

    // How far ducked parts are pulled down at a sample: 0 = not at all, 1 = fully.
    float At(long frame) const;

private:
    float Shape(long sinceTrigger) const;

    std::vector<long> triggers;
    long attackFrames, releaseFrames;
};

} // namespace synth
