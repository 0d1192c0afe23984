#include "Dsp/Constants.h"
#include "Dsp/Limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using synth::DbToGain;
using synth::LimiterSettings;

std::vector<float> Sine(double hz, double amplitude, long frames, double phase = 0.0)
{
    std::vector<float> out(frames);
    for (long n = 0; n < frames; ++n)
        out[n] = static_cast<float>(amplitude * std::sin(2.0 * synth::Pi * hz * n / synth::SampleRate + phase));
    return out;
}

float SamplePeak(const std::vector<float>& signal)
{
    float peak = 0.0f;
    for (float v : signal)
        peak = std::max(peak, std::abs(v));
    return peak;
}

TEST(LimiterTest, TruePeakFindsThePeakBetweenSamples)
{
    // A quarter of the sample rate, 45 degrees off: every sample sits at 0.707 of the crest.
    const auto left = Sine(synth::SampleRate / 4, 1.0, 4096, synth::Pi / 4);
    EXPECT_NEAR(SamplePeak(left), 0.7071f, 1e-3f);
    EXPECT_NEAR(synth::TruePeak(left, left), 1.0f, 0.02f);
}

TEST(LimiterTest, LoudSignalStaysUnderTheCeilingIncludingBetweenSamples)
{
    auto left = Sine(11025, 3.0, 44100, synth::Pi / 4);
    auto right = Sine(1000, 0.5, 44100);
    // Spikes with no warning: the lookahead must already be down when they arrive.
    for (long n : {100L, 5000L, 20000L, 44099L}) {
        left[n] = 8.0f;
        right[n] = -6.0f;
    }
    synth::Limit(left, right, LimiterSettings{-1.5f, 0.0015f, 0.08f});
    const float ceiling = DbToGain(-1.5f);
    EXPECT_LE(std::max(SamplePeak(left), SamplePeak(right)), ceiling);
    EXPECT_LE(synth::TruePeak(left, right), ceiling * DbToGain(0.1f));
}

TEST(LimiterTest, SignalUnderTheCeilingPassesUnchanged)
{
    const auto original = Sine(440, 0.5, 22050);
    auto left = original, right = original;
    synth::Limit(left, right, LimiterSettings{-1.0f, 0.0015f, 0.08f});
    EXPECT_EQ(left, original);
    EXPECT_EQ(right, original);
}

TEST(LimiterTest, GainDropsAheadOfAPeakAndRecoversAfterTheRelease)
{
    std::vector<float> left(44100, 0.25f), right(44100, 0.25f);
    left[10000] = 4.0f; // needs 24 dB of reduction at that one sample
    synth::Limit(left, right, LimiterSettings{-6.0f, 0.002f, 0.05f});
    EXPECT_FLOAT_EQ(right[9000], 0.25f);    // far ahead: untouched
    EXPECT_LT(right[9990], 0.25f * 0.5f);   // 10 samples ahead: already well down
    EXPECT_LE(std::abs(left[10000]), DbToGain(-6.0f) * 1.00001f); // at the ceiling, to float precision
    EXPECT_LT(right[10500], 0.25f * 0.9f);  // still recovering 11 ms later
    EXPECT_GT(right[30000], 0.25f * 0.99f); // back after several release times
}

} // namespace
