#include "Dsp/Limiter.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace synth {
namespace {

// Interpolation between samples n and n+1 at quarter steps, from 16 neighbours (n-7 .. n+8)
// weighted by a Hann-windowed sinc.
constexpr int Phases = 3;
constexpr int Taps = 16;
constexpr int FirstTap = -7;

using Kernel = std::array<std::array<float, Taps>, Phases>;

Kernel MakeKernel()
{
    Kernel kernel{};
    for (int p = 0; p < Phases; ++p) {
        const double fraction = (p + 1) / 4.0;
        for (int t = 0; t < Taps; ++t) {
            const double x = fraction - (FirstTap + t);
            const double sinc = std::sin(Pi * x) / (Pi * x);
            const double window = 0.5 + 0.5 * std::cos(Pi * x / (Taps / 2 + 1));
            kernel[p][t] = static_cast<float>(sinc * window);
        }
    }
    return kernel;
}

const Kernel& InterpolationKernel()
{
    static const Kernel kernel = MakeKernel();
    return kernel;
}

// Largest magnitude at sample n and at the interpolated points between n and n+1.
float PeakAfter(const std::vector<float>& signal, long n)
{
    const long size = static_cast<long>(signal.size());
    float peak = std::abs(signal[n]);
    for (const auto& phase : InterpolationKernel()) {
        float value = 0.0f;
        for (int t = 0; t < Taps; ++t) {
            const long index = n + FirstTap + t;
            if (index >= 0 && index < size)
                value += phase[t] * signal[index];
        }
        peak = std::max(peak, std::abs(value));
    }
    return peak;
}

// The most an interpolated point can exceed the largest of its neighbours by.
float KernelGain()
{
    float gain = 0.0f;
    for (const auto& phase : InterpolationKernel()) {
        float sum = 0.0f;
        for (float tap : phase)
            sum += std::abs(tap);
        gain = std::max(gain, sum);
    }
    return gain;
}

// Largest magnitude in each run of BlockFrames samples, over both channels.
constexpr long BlockFrames = 64;

std::vector<float> BlockPeaks(const std::vector<float>& left, const std::vector<float>& right)
{
    const long size = static_cast<long>(left.size());
    std::vector<float> peaks((size + BlockFrames - 1) / BlockFrames, 0.0f);
    for (long n = 0; n < size; ++n)
        peaks[n / BlockFrames] = std::max({peaks[n / BlockFrames], std::abs(left[n]), std::abs(right[n])});
    return peaks;
}

// Peak around each sample n: the sample and the interpolated points on both sides of it. Where
// no neighbour is loud enough for any interpolated point to pass the ceiling, the sample's own
// magnitude stands in: the limiter only needs to know that nothing there goes over.
std::vector<float> LocalPeaks(const std::vector<float>& left, const std::vector<float>& right, float ceiling)
{
    const long size = static_cast<long>(left.size());
    const std::vector<float> blocks = BlockPeaks(left, right);
    const long lastBlock = static_cast<long>(blocks.size()) - 1;
    const float quiet = ceiling / KernelGain();
    std::vector<float> after(size);
    for (long n = 0; n < size; ++n) {
        const long block = n / BlockFrames;
        // The taps reach 7 samples back and 8 ahead: at most the neighbouring blocks.
        const float loudest = std::max({blocks[block], blocks[std::max(0L, block - 1)], blocks[std::min(lastBlock, block + 1)]});
        after[n] = loudest < quiet ? std::max(std::abs(left[n]), std::abs(right[n]))
                                   : std::max(PeakAfter(left, n), PeakAfter(right, n));
    }
    std::vector<float> around(size);
    for (long n = 0; n < size; ++n)
        around[n] = std::max(after[n], n > 0 ? after[n - 1] : 0.0f);
    return around;
}

// Minimum of values[n .. n + window - 1] for every n (a sliding minimum looking forward).
std::vector<float> ForwardMinimum(const std::vector<float>& values, long window)
{
    const long size = static_cast<long>(values.size());
    std::vector<float> result(size);
    std::deque<long> candidates; // indices with increasing values
    long next = 0;
    for (long n = 0; n < size; ++n) {
        for (; next < std::min(size, n + window); ++next) {
            while (!candidates.empty() && values[candidates.back()] >= values[next])
                candidates.pop_back();
            candidates.push_back(next);
        }
        while (candidates.front() < n)
            candidates.pop_front();
        result[n] = values[candidates.front()];
    }
    return result;
}

} // namespace

float TruePeak(const std::vector<float>& left, const std::vector<float>& right)
{
    float peak = 0.0f;
    for (long n = 0; n < static_cast<long>(left.size()); ++n)
        peak = std::max({peak, PeakAfter(left, n), PeakAfter(right, n)});
    return peak;
}

void Limit(std::vector<float>& left, std::vector<float>& right, const LimiterSettings& settings)
{
    const float ceiling = DbToGain(settings.ceilingDb);
    const long window = std::max(1L, std::lround(settings.lookahead * SampleRate));
    const float recovery = static_cast<float>(1.0 - std::exp(-1.0 / (std::max(0.001f, settings.release) * SampleRate)));

    std::vector<float> gain = LocalPeaks(left, right, ceiling);
    for (float& g : gain)
        g = g > ceiling ? ceiling / g : 1.0f;
    gain = ForwardMinimum(gain, window);

    // The gain drops at once and recovers slowly; it never rises above what the window allows.
    float released = 1.0f;
    for (float& g : gain) {
        released = std::min(g, released + (1.0f - released) * recovery);
        g = released;
    }

    // Averaging over the last `window` values: every one of them already allows for the peak
    // at n (each window reached n), so the mean does too, and the gain moves without clicks.
    // Before the start the gain is taken as its first value, which already allows for every
    // peak within the first window.
    const long size = static_cast<long>(gain.size());
    if (size == 0)
        return;
    std::vector<float> history(window, gain[0]);
    double sum = static_cast<double>(window) * gain[0];
    for (long n = 0; n < size; ++n) {
        sum += gain[n] - history[n % window];
        history[n % window] = gain[n];
        const float g = static_cast<float>(sum / window);
        left[n] *= g;
        right[n] *= g;
    }
}

} // namespace synth
