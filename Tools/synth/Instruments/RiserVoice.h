// Riser: noise and a detuned saw stack that swell over the whole note while the filter opens
// from `cutoff` to `sweep` and the pitch climbs `rise` semitones; it ends at the note-off.
#pragma once

#include "Dsp/Filter.h"
#include "Dsp/Noise.h"
#include "Dsp/Oscillator.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

#include <vector>

namespace synth {

class RiserVoice : public Voice {
public:
    RiserVoice(const Instrument& instrument, long start, long end, float note, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;
    void NoteOff() override;

private:
    const Instrument& instrument;
    float note, velocity;
    long length;
    std::vector<Oscillator> saws;
    Noise noiseLeft, noiseRight;
    Filter filterLeft, filterRight;
    long age = 0;
    long releasedAt = -1;
    float levelAtRelease = 0.0f;
};

} // namespace synth
