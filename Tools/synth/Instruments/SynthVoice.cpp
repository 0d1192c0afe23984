#include "Instruments/SynthVoice.h"

#include "Dsp/Constants.h"
#include "Dsp/Saturation.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Pitch, vibrato and filter cutoff are recomputed this often; the filter stays smooth because
// its coefficients change in small steps.
constexpr int ControlInterval = 16;

uint32_t Seed(long start, float note)
{
    // Through int: a note transposed below 0 is negative, and converting a negative float to an
    // unsigned type is undefined; the score keeps notes within a few hundred.
    return static_cast<uint32_t>(start) * 2654435761u ^ static_cast<uint32_t>(static_cast<int32_t>(note * 64.0f)) * 40503u;
}

} // namespace

SynthVoice::SynthVoice(const Instrument& instrument, long start, long end, float note, float velocity)
    : Voice(start, end),
      instrument(instrument),
      note(note + instrument.transpose),
      velocity(velocity),
      baseHz(NoteToHz(this->note)),
      noise(Seed(start, note)),
      filterLeft(FilterMode::LowPass, static_cast<int>(instrument.poles)),
      filterRight(FilterMode::LowPass, static_cast<int>(instrument.poles)),
      amp(instrument.amp),
      filterEnvelope(instrument.filterEnv)
{
    const int count = static_cast<int>(instrument.unison);
    Noise phases(Seed(start, note) ^ 0x5bd1e995u);
    const float norm = 1.0f / std::sqrt(static_cast<float>(count));
    for (int i = 0; i < count; ++i) {
        // Outermost voices at +-detune/2 cents and at the edges of the spread.
        const float position = count == 1 ? 0.0f : 2.0f * i / (count - 1) - 1.0f;
        const float pan = position * instrument.spread;
        const auto angle = static_cast<float>((pan + 1.0f) * Pi / 4.0);
        Partial partial{Oscillator(instrument.wave), std::exp2(0.5 * position * instrument.detune / 1200.0),
                        norm * std::sqrt(2.0f) * std::cos(angle), norm * std::sqrt(2.0f) * std::sin(angle)};
        partial.oscillator.SetPulseWidth(instrument.pulseWidth);
        // Free-running phases: a stack of saws that all start at zero would begin with a spike.
        partial.oscillator.SetPhase(count == 1 ? 0.0 : 0.5 + 0.5 * phases.Next());
        partials.push_back(partial);
    }
    if (instrument.drive > 0.0f)
        driveNorm = 1.0f / SoftClip(1.0f + instrument.drive);
}

void SynthVoice::NoteOff()
{
    amp.NoteOff();
    filterEnvelope.NoteOff();
}

void SynthVoice::Control(const LiveParams& live)
{
    const double seconds = static_cast<double>(age) / SampleRate;
    double hz = baseHz;
    if (instrument.vibrato > 0.0f)
        hz *= std::exp2(instrument.vibrato * std::sin(2.0 * Pi * instrument.vibratoRate * seconds) / 1200.0);
    for (Partial& partial : partials)
        partial.oscillator.SetFrequency(hz * partial.ratio);
    sub.SetFrequency(0.5 * hz);

    const double octaves = instrument.envAmount * filterEnvelope.Level() + instrument.keyTrack * (note - 60.0) / 12.0;
    const double cutoff = live.cutoff * std::pow(2.0, octaves);
    filterLeft.Set(cutoff, live.resonance);
    filterRight.Set(cutoff, live.resonance);
}

bool SynthVoice::Generate(float* left, float* right, int frames, const LiveParams& live)
{
    float stackLeft[ControlInterval], stackRight[ControlInterval];
    for (int done = 0; done < frames;) {
        if (untilControl == 0) {
            Control(live);
            untilControl = ControlInterval;
        }
        const int chunk = std::min(untilControl, frames - done);
        std::fill_n(stackLeft, chunk, 0.0f);
        std::fill_n(stackRight, chunk, 0.0f);
        for (Partial& partial : partials)
            partial.oscillator.Add(stackLeft, stackRight, chunk, partial.leftGain, partial.rightGain);

        for (int n = 0; n < chunk; ++n) {
            filterEnvelope.Next();
            float centre = 0.0f;
            if (instrument.sub > 0.0f)
                centre += instrument.sub * sub.Next();
            if (instrument.noise > 0.0f)
                centre += instrument.noise * noise.Next();
            float l = filterLeft.Process(stackLeft[n] + centre);
            float r = filterRight.Process(stackRight[n] + centre);
            if (instrument.drive > 0.0f) {
                l = SoftClip(l * (1.0f + instrument.drive)) * driveNorm;
                r = SoftClip(r * (1.0f + instrument.drive)) * driveNorm;
            }
            const float level = amp.Next() * velocity;
            left[done + n] += l * level;
            right[done + n] += r * level;
        }
        done += chunk;
        untilControl -= chunk;
        age += chunk;
    }
    return !amp.Finished();
}

} // namespace synth
