#include "Instruments/RiserVoice.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

constexpr int ControlInterval = 32;

} // namespace

RiserVoice::RiserVoice(const Instrument& instrument, long start, long end, float note, float velocity)
    : Voice(start, end),
      instrument(instrument),
      note(note + instrument.transpose),
      velocity(velocity),
      length(std::max(1L, end - start)),
      noiseLeft(static_cast<uint32_t>(start) * 22695477u + 1u),
      noiseRight(static_cast<uint32_t>(start) * 1664525u + 1013904223u)
{
    const int count = static_cast<int>(instrument.unison);
    for (int i = 0; i < count; ++i) {
        saws.emplace_back(instrument.wave);
        saws.back().SetPhase(0.37 * i);
    }
}

void RiserVoice::NoteOff()
{
    releasedAt = age;
}

bool RiserVoice::Generate(float* left, float* right, int frames, const LiveParams& live)
{
    const long releaseLength = std::max(1L, std::lround(instrument.amp.release * SampleRate));
    const int count = static_cast<int>(saws.size());
    const float sawGain = (1.0f - instrument.noise) / std::sqrt(static_cast<float>(count));
    for (int n = 0; n < frames; ++n, ++age) {
        const double progress = std::min(1.0, static_cast<double>(age) / length);
        if (age % ControlInterval == 0) {
            const double cutoff = live.cutoff * std::pow(instrument.sweep / live.cutoff, progress);
            filterLeft.Set(cutoff, live.resonance);
            filterRight.Set(cutoff, live.resonance);
            for (int i = 0; i < count; ++i) {
                const double cents = count == 1 ? 0.0 : instrument.detune * (static_cast<double>(i) / (count - 1) - 0.5);
                saws[i].SetFrequency(NoteToHz(note + instrument.rise * progress + cents / 100.0));
            }
        }
        float swell = static_cast<float>(progress * progress);
        if (releasedAt >= 0) {
            const long since = age - releasedAt;
            if (since >= releaseLength)
                return false;
            if (since == 0)
                levelAtRelease = swell;
            swell = levelAtRelease * (1.0f - static_cast<float>(since) / releaseLength);
        }
        float tone = 0.0f;
        for (Oscillator& saw : saws)
            tone += saw.Next();
        const float l = filterLeft.Process(sawGain * tone + instrument.noise * noiseLeft.Next());
        const float r = filterRight.Process(sawGain * tone + instrument.noise * noiseRight.Next());
        left[n] += l * swell * velocity;
        right[n] += r * swell * velocity;
    }
    return true;
}

} // namespace synth
