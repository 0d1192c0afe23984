#include "Instruments/ClapVoice.h"

#include "Dsp/Constants.h"

#include <cmath>

namespace synth {
namespace {

constexpr int Hands = 4;

} // namespace

ClapVoice::ClapVoice(const Instrument& instrument, long start, long end, float velocity)
    : Voice(start, end), instrument(instrument), velocity(velocity), noise(static_cast<uint32_t>(start) * 2891336453u + 7u)
{
}

float ClapVoice::Level(double t) const
{
    const double spacing = instrument.spacing;
    const double tailStart = (Hands - 1) * spacing;
    if (t < tailStart) {
        const double sinceHand = std::fmod(t, spacing);
        return static_cast<float>(std::exp(-sinceHand / (spacing * 0.3)));
    }
    const double intoTail = t - tailStart;
    if (intoTail >= instrument.amp.decay)
        return 0.0f;
    // Exponential tail, pulled to zero exactly at the decay time.
    const double floor = std::exp(-5.0);
    return static_cast<float>((std::exp(-5.0 * intoTail / instrument.amp.decay) - floor) / (1.0 - floor));
}

bool ClapVoice::Generate(float* left, float* right, int frames, const LiveParams& live)
{
    band.Set(live.cutoff, live.resonance);
    float level = 1.0f;
    for (int n = 0; n < frames; ++n) {
        level = Level(static_cast<double>(age++) / SampleRate);
        // The band-pass's peak gain falls as its Q rises; 2.0 brings it back near unity.
        const float sample = 2.0f * band.Process(noise.Next()) * level * velocity;
        left[n] += sample;
        right[n] += sample;
    }
    return level > 0.0f;
}

} // namespace synth
