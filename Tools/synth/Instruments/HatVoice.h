// Hi-hat and cymbal: six detuned square waves at inharmonic ratios (the metallic ring) mixed
// with noise, high-passed, with a short decay for a closed hat or a long one for a crash.
#pragma once

#include "Dsp/Envelope.h"
#include "Dsp/Filter.h"
#include "Dsp/Noise.h"
#include "Dsp/Oscillator.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

#include <array>

namespace synth {

class HatVoice : public Voice {
public:
    HatVoice(const Instrument& instrument, long start, long end, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;

private:
    const Instrument& instrument;
    float velocity;
    std::array<Oscillator, 6> metal;
    Noise noise;
    Filter highPass{FilterMode::HighPass, 4};
    Envelope amp;
    long age = 0;
};

} // namespace synth
