#include "Instruments/KickVoice.h"

#include "Dsp/Constants.h"
#include "Dsp/Saturation.h"

#include <cmath>

namespace synth {
namespace {

constexpr float ClickSeconds = 0.0015f;

} // namespace

KickVoice::KickVoice(const Instrument& instrument, long start, long end, float velocity)
    : Voice(start, end),
      instrument(instrument),
      velocity(velocity),
      amp({0.0005f, instrument.amp.decay, 0.0f, 0.001f}),
      noise(static_cast<uint32_t>(start) | 1u)
{
}

bool KickVoice::Generate(float* left, float* right, int frames, const LiveParams&)
{
    const float drive = 1.0f + instrument.drive;
    const float norm = 1.0f / SoftClip(drive);
    for (int n = 0; n < frames; ++n) {
        const double t = static_cast<double>(age++) / SampleRate;
        const double hz = instrument.pitch + (instrument.punch - instrument.pitch) * std::exp(-t / instrument.pitchDecay);
        phase += hz / SampleRate;
        phase -= std::floor(phase);
        const float body = static_cast<float>(std::sin(2.0 * Pi * phase));
        const float click = instrument.click * noise.Next() * static_cast<float>(std::exp(-t / ClickSeconds));
        const float sample = SoftClip(drive * (body * amp.Next() + click)) * norm * velocity;
        left[n] += sample;
        right[n] += sample;
    }
    // A drum ignores note-offs: it has died away when its decay has run out.
    return amp.Level() > 0.0f || age < 64;
}

} // namespace synth
