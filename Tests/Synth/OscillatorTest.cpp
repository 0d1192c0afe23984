#include "Dsp/Constants.h"
#include "Dsp/Oscillator.h"
#include "SignalMeasure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using synth::Oscillator;
using synth::Waveform;

constexpr int Size = 16384;
// A whole number of cycles in Size samples, so every harmonic and every alias lands on a bin.
constexpr int FundamentalBin = 1337;
constexpr double Hz = FundamentalBin * static_cast<double>(synth::SampleRate) / Size; // about 3.6 kHz

std::vector<float> Render(Waveform wave)
{
    Oscillator oscillator(wave);
    oscillator.SetFrequency(Hz);
    std::vector<float> out(Size);
    for (float& sample : out)
        sample = oscillator.Next();
    return out;
}

// The same wave computed naively, with hard corners: what aliasing looks like.
std::vector<float> Naive(Waveform wave)
{
    std::vector<float> out(Size);
    for (int n = 0; n < Size; ++n) {
        const double t = std::fmod(static_cast<double>(n) * FundamentalBin / Size, 1.0);
        switch (wave) {
        case Waveform::Saw: out[n] = static_cast<float>(2.0 * t - 1.0); break;
        case Waveform::Square: out[n] = t < 0.5 ? 1.0f : -1.0f; break;
        case Waveform::Triangle: out[n] = static_cast<float>(1.0 - 4.0 * std::abs(t - 0.5)); break;
        case Waveform::Sine: out[n] = static_cast<float>(std::sin(2.0 * synth::Pi * t)); break;
        }
    }
    return out;
}

// Power in bins that are no harmonic of the fundamental, relative to the fundamental, in dB.
double AliasingDb(const std::vector<float>& signal)
{
    const auto power = synthtest::PowerSpectrum(signal);
    double alias = 0.0;
    for (size_t k = 1; k < power.size(); ++k) {
        if (k % FundamentalBin != 0)
            alias += power[k];
    }
    return 10.0 * std::log10(alias / power[FundamentalBin]);
}

TEST(OscillatorTest, BandLimitedWavesAliasFarLessThanNaiveOnes)
{
    // A naive triangle already aliases little (its harmonics fall 12 dB an octave): its margin is
    // smaller, but a correction of the wrong sign or size makes it worse than naive.
    const struct {
        Waveform wave;
        double betterBy, atMost;
    } cases[] = {{Waveform::Saw, 9.0, -25.0}, {Waveform::Square, 9.0, -25.0}, {Waveform::Triangle, 3.0, -42.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.wave));
        const double limited = AliasingDb(Render(c.wave));
        EXPECT_LT(limited, AliasingDb(Naive(c.wave)) - c.betterBy);
        EXPECT_LT(limited, c.atMost);
    }
}

TEST(OscillatorTest, FundamentalHasTheAmplitudeOfTheIdealWave)
{
    // Fourier series: saw 2/pi, square 4/pi, triangle 8/pi^2.
    const double pi = synth::Pi;
    EXPECT_NEAR(synthtest::AmplitudeAt(Render(Waveform::Saw), Hz), 2.0 / pi, 0.02);
    EXPECT_NEAR(synthtest::AmplitudeAt(Render(Waveform::Square), Hz), 4.0 / pi, 0.03);
    EXPECT_NEAR(synthtest::AmplitudeAt(Render(Waveform::Triangle), Hz), 8.0 / (pi * pi), 0.02);
    EXPECT_NEAR(synthtest::AmplitudeAt(Render(Waveform::Sine), Hz), 1.0, 1e-3);
}

TEST(OscillatorTest, PulseWidthSetsTheDutyCycle)
{
    Oscillator oscillator(Waveform::Square);
    oscillator.SetFrequency(100.0);
    oscillator.SetPulseWidth(0.25);
    double sum = 0.0;
    for (int n = 0; n < 44100; ++n)
        sum += oscillator.Next();
    // A quarter of the time at +1, the rest at -1: the mean is -0.5.
    EXPECT_NEAR(sum / 44100, -0.5, 0.01);
}

} // namespace
