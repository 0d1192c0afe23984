// Kick drum: a sine whose pitch falls from `punch` to `pitch` Hz, a click of noise for the
// beater, and saturation that rounds the body into a thump.
#pragma once

#include "Dsp/Envelope.h"
#include "Dsp/Noise.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

namespace synth {

class KickVoice : public Voice {
public:
    KickVoice(const Instrument& instrument, long start, long end, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;

private:
    const Instrument& instrument;
    float velocity;
    Envelope amp;
    Noise noise;
    double phase = 0.0;
    long age = 0;
};

} // namespace synth
