#include "Dsp/Constants.h"
#include "Instruments/VoiceFactory.h"
#include "Score/InstrumentSettings.h"
#include "SignalMeasure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using synth::InstrumentType;

std::vector<float> Play(const synth::Instrument& instrument, synth::NoteEvent note, long frames)
{
    std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
    auto voice = synth::MakeVoice(instrument, note);
    const synth::LiveParams live{instrument.cutoff, instrument.resonance};
    for (long from = 0; from < frames; from += 64)
        voice->Render(left.data() + from, right.data() + from, from, static_cast<int>(std::min(64L, frames - from)), live);
    return left;
}

// Average frequency from the zero crossings of signal[from, to).
double CrossingHz(const std::vector<float>& signal, long from, long to)
{
    long first = -1, last = -1, count = 0;
    for (long n = from + 1; n < to; ++n) {
        if (signal[n - 1] < 0.0f && signal[n] >= 0.0f) {
            if (first < 0)
                first = n;
            last = n;
            ++count;
        }
    }
    return count > 1 ? (count - 1) * synth::SampleRate / static_cast<double>(last - first) : 0.0;
}

TEST(VoiceTest, KickFallsFromItsPunchToItsPitch)
{
    synth::Instrument kick = synth::MakeInstrument("kick", InstrumentType::Kick, 1);
    kick.pitch = 50.0f;
    kick.punch = 400.0f;
    kick.pitchDecay = 0.01f;
    kick.click = 0.0f;
    kick.amp.decay = 0.6f;
    const auto out = Play(kick, {0, 0, 60, 1.0f}, 44100);
    EXPECT_GT(CrossingHz(out, 0, 441), 200.0);              // first 10 ms: still high
    EXPECT_NEAR(CrossingHz(out, 8820, 22050), 50.0, 1.0);   // 0.2-0.5 s: settled on the body
    EXPECT_EQ(out[30000], 0.0f);                            // died away after its decay
}

TEST(VoiceTest, SynthNoteStartsOnItsSampleAndPlaysItsPitch)
{
    synth::Instrument lead = synth::MakeInstrument("lead", InstrumentType::Synth, 1);
    lead.wave = synth::Waveform::Sine;
    lead.amp = {0.0f, 0.1f, 1.0f, 0.01f};
    const auto out = Play(lead, {1000, 30000, 69, 1.0f}, 40000);
    for (long n = 0; n < 1000; ++n)
        ASSERT_EQ(out[n], 0.0f) << "sound before the note at sample " << n;
    EXPECT_NEAR(CrossingHz(out, 2000, 29000), 440.0, 0.5);
    EXPECT_EQ(out[30000 + 441 + 1], 0.0f); // released 10 ms after the note-off
}

TEST(VoiceTest, FilterEnvelopeOpensTheCutoffForTheAttackOnly)
{
    synth::Instrument bass = synth::MakeInstrument("bass", InstrumentType::Synth, 1);
    bass.cutoff = 200.0f;
    bass.envAmount = 4.0f; // up to 3.2 kHz at the envelope's peak
    bass.filterEnv = {0.001f, 0.05f, 0.0f, 0.01f};
    bass.amp = {0.001f, 0.1f, 1.0f, 0.01f};
    // 110.25 Hz: exactly 400 samples a cycle, so one cycle's harmonics measure exactly.
    const float note = static_cast<float>(69.0 + 12.0 * std::log2(110.25 / 440.0));
    const auto out = Play(bass, {0, 44100, note, 1.0f}, 44100);
    const auto fifthHarmonic = [&](long from) {
        const std::vector<float> cycle(out.begin() + from, out.begin() + from + 400);
        return synthtest::AmplitudeAt(cycle, 5 * 110.25) / synthtest::AmplitudeAt(cycle, 110.25);
    };
    // Early in the note the open filter lets the fifth harmonic through; later it is shut out.
    EXPECT_GT(fifthHarmonic(100), 4.0 * fifthHarmonic(20000));
}

} // namespace
