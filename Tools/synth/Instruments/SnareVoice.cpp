#include "Instruments/SnareVoice.h"

#include "Dsp/Constants.h"

#include <cmath>

namespace synth {

SnareVoice::SnareVoice(const Instrument& instrument, long start, long end, float velocity)
    : Voice(start, end),
      instrument(instrument),
      velocity(velocity),
      toneEnvelope({0.0005f, 0.5f * instrument.amp.decay, 0.0f, 0.001f}),
      noiseEnvelope({0.0005f, instrument.amp.decay, 0.0f, 0.001f}),
      noise(static_cast<uint32_t>(start) * 747796405u + 1u)
{
    lowCut.Set(600.0, 0.0);
}

bool SnareVoice::Generate(float* left, float* right, int frames, const LiveParams& live)
{
    highCut.Set(live.cutoff, 0.0);
    for (int n = 0; n < frames; ++n) {
        const double t = static_cast<double>(age++) / SampleRate;
        phase += instrument.pitch * (1.0 + 0.6 * std::exp(-t / 0.008)) / SampleRate;
        phase -= std::floor(phase);
        const float tone = static_cast<float>(std::sin(2.0 * Pi * phase)) * toneEnvelope.Next();
        const float wires = highCut.Process(lowCut.Process(noise.Next())) * noiseEnvelope.Next();
        const float sample = (instrument.tone * tone + (1.0f - instrument.tone) * wires) * velocity;
        left[n] += sample;
        right[n] += sample;
    }
    return noiseEnvelope.Level() > 0.0f || age < 64;
}

} // namespace synth
