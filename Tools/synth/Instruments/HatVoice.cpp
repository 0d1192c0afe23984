#include "Instruments/HatVoice.h"

namespace synth {
namespace {

// Inharmonic partials: no two share a simple ratio, so the cluster rings like metal.
constexpr std::array<double, 6> MetalHz = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

} // namespace

HatVoice::HatVoice(const Instrument& instrument, long start, long end, float velocity)
    : Voice(start, end),
      instrument(instrument),
      velocity(velocity),
      metal{Oscillator(Waveform::Square), Oscillator(Waveform::Square), Oscillator(Waveform::Square),
            Oscillator(Waveform::Square), Oscillator(Waveform::Square), Oscillator(Waveform::Square)},
      noise(static_cast<uint32_t>(start) * 1103515245u + 12345u),
      amp({0.0005f, instrument.amp.decay, 0.0f, 0.001f})
{
    for (size_t i = 0; i < metal.size(); ++i) {
        metal[i].SetFrequency(MetalHz[i]);
        metal[i].SetPhase(0.13 * static_cast<double>(i));
    }
}

bool HatVoice::Generate(float* left, float* right, int frames, const LiveParams& live)
{
    highPass.Set(live.cutoff, live.resonance);
    for (int n = 0; n < frames; ++n) {
        float ring = 0.0f;
        for (Oscillator& oscillator : metal)
            ring += oscillator.Next();
        const float source = instrument.metal * ring / 6.0f + (1.0f - instrument.metal) * noise.Next();
        const float sample = highPass.Process(source) * amp.Next() * velocity;
        left[n] += sample;
        right[n] += sample;
        ++age;
    }
    return amp.Level() > 0.0f || age < 64;
}

} // namespace synth
