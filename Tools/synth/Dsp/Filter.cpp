#include "Dsp/Filter.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Damping of the stages of a Butterworth response: one stage of two poles, or two of four.
constexpr double ButterworthQ2 = 0.70710678118654752;
constexpr double ButterworthQ4Low = 0.54119610014619698;
constexpr double ButterworthQ4High = 1.3065629648763766;

// Resonance 0 keeps the Butterworth Q; towards 1 the last stage's Q grows to ~25.
double ResonantQ(double baseQ, double resonance)
{
    return baseQ / (1.0 - 0.97 * std::clamp(resonance, 0.0, 0.99));
}

} // namespace

void Filter::Stage::Set(double newG, double q)
{
    g = newG;
    k = 1.0 / q;
    a1 = 1.0 / (1.0 + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void Filter::Set(double cutoffHz, double resonance)
{
    const double cutoff = std::clamp(cutoffHz, 10.0, SampleRate * 0.45);
    const double g = std::tan(Pi * cutoff / SampleRate);
    if (poles == 4) {
        first.Set(g, ButterworthQ4Low);
        second.Set(g, ResonantQ(ButterworthQ4High, resonance));
    } else {
        first.Set(g, ResonantQ(ButterworthQ2, resonance));
    }
}

void Filter::Reset()
{
    first.ic1 = first.ic2 = second.ic1 = second.ic2 = 0.0;
}

} // namespace synth
