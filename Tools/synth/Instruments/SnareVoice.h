// Snare: a short tone for the shell with a quick downward bend, and bright noise for the wires,
// which rings on longer than the tone.
#pragma once

#include "Dsp/Envelope.h"
#include "Dsp/Filter.h"
#include "Dsp/Noise.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

namespace synth {

class SnareVoice : public Voice {
public:
    SnareVoice(const Instrument& instrument, long start, long end, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;

private:
    const Instrument& instrument;
    float velocity;
    Envelope toneEnvelope, noiseEnvelope;
    Noise noise;
    Filter lowCut{FilterMode::HighPass}, highCut{FilterMode::LowPass};
    double phase = 0.0;
    long age = 0;
};

} // namespace synth
