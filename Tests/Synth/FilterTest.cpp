#include "Dsp/Constants.h"
#include "Dsp/Filter.h"
#include "SignalMeasure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using synth::Filter;
using synth::FilterMode;

// Gain in dB of a filter for a steady sine at `hz`, after the filter has settled.
double GainDb(FilterMode mode, int poles, double cutoff, double resonance, double hz)
{
    Filter filter(mode, poles);
    filter.Set(cutoff, resonance);
    const int settle = 8192, measure = 44100;
    std::vector<float> out;
    for (int n = 0; n < settle + measure; ++n) {
        const float y = filter.Process(static_cast<float>(std::sin(2.0 * synth::Pi * hz * n / synth::SampleRate)));
        if (n >= settle)
            out.push_back(y);
    }
    // One second holds a whole number of cycles of every whole-hertz frequency.
    return 20.0 * std::log10(synthtest::AmplitudeAt(out, hz));
}

TEST(FilterTest, CutoffIsThreeDecibelsDownForTwoAndFourPoles)
{
    for (int poles : {2, 4}) {
        for (double cutoff : {200.0, 1000.0, 8000.0}) {
            SCOPED_TRACE(testing::Message() << poles << " poles at " << cutoff << " Hz");
            EXPECT_NEAR(GainDb(FilterMode::LowPass, poles, cutoff, 0.0, cutoff), -3.01, 0.05);
            EXPECT_NEAR(GainDb(FilterMode::HighPass, poles, cutoff, 0.0, cutoff), -3.01, 0.05);
        }
    }
}

TEST(FilterTest, LowPassPassesTheBandBelowAndFallsTwelveDecibelsAnOctavePerTwoPoles)
{
    EXPECT_NEAR(GainDb(FilterMode::LowPass, 2, 1000, 0.0, 100), 0.0, 0.05);
    EXPECT_NEAR(GainDb(FilterMode::LowPass, 4, 1000, 0.0, 100), 0.0, 0.05);
    // Two octaves up: the analogue Butterworth gives -24.1 and -48.2 dB; the prewarped digital
    // filter falls slightly faster towards Nyquist.
    EXPECT_NEAR(GainDb(FilterMode::LowPass, 2, 1000, 0.0, 4000), -24.1, 0.6);
    EXPECT_NEAR(GainDb(FilterMode::LowPass, 4, 1000, 0.0, 4000), -48.2, 1.2);
    EXPECT_NEAR(GainDb(FilterMode::HighPass, 2, 1000, 0.0, 250), -24.1, 0.6);
}

TEST(FilterTest, ResonanceRaisesThePeakAtTheCutoffNotBelowIt)
{
    const double flat = GainDb(FilterMode::LowPass, 2, 1000, 0.0, 1000);
    const double resonant = GainDb(FilterMode::LowPass, 2, 1000, 0.8, 1000);
    EXPECT_GT(resonant, flat + 10.0);
    EXPECT_NEAR(GainDb(FilterMode::LowPass, 2, 1000, 0.8, 100), 0.0, 0.3);
}

TEST(FilterTest, BandPassPeaksAtItsCentre)
{
    const double centre = GainDb(FilterMode::BandPass, 2, 1500, 0.3, 1500);
    EXPECT_GT(centre, GainDb(FilterMode::BandPass, 2, 1500, 0.3, 750) + 3.0);
    EXPECT_GT(centre, GainDb(FilterMode::BandPass, 2, 1500, 0.3, 3000) + 3.0);
}

TEST(FilterTest, SweepingTheCutoffStaysStable)
{
    Filter filter(FilterMode::LowPass, 4);
    float peak = 0.0f;
    for (int n = 0; n < 44100; ++n) {
        if (n % 16 == 0)
            filter.Set(30.0 * std::pow(2.0, 9.0 * std::abs(std::sin(n * 0.0007))), 0.95);
        const float input = (n / 50) % 2 ? 1.0f : -1.0f;
        peak = std::max(peak, std::abs(filter.Process(input)));
    }
    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_LT(peak, 40.0f);
}

} // namespace
