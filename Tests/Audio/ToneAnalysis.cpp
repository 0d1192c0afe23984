#include "ToneAnalysis.h"

#include <cmath>
#include <stdexcept>

ToneMeasure MeasureTone(const std::vector<float>& samples, int channels, int channel, long rate, float threshold)
{
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    auto at = [&](size_t frame) { return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)]; };

    ToneMeasure tone;
    bool found = false;
    for (size_t i = 0; i < frames; ++i) {
        if (std::fabs(at(i)) >= threshold) {
            if (!found)
                tone.first = i;
            tone.last = i;
            found = true;
        }
    }
    if (!found)
        throw std::runtime_error("no tone in the audio");

    double sumSquares = 0.0;
    size_t crossings = 0;
    int sign = 0;
    for (size_t i = tone.first; i <= tone.last; ++i) {
        const double value = at(i);
        sumSquares += value * value;
        tone.peak = std::max(tone.peak, std::fabs(value));
        const int now = value >= threshold ? 1 : value <= -threshold ? -1 : sign;
        if (sign != 0 && now != sign)
            ++crossings;
        sign = now;
    }
    const size_t length = tone.last - tone.first + 1;
    tone.seconds = static_cast<double>(length) / static_cast<double>(rate);
    tone.rms = std::sqrt(sumSquares / static_cast<double>(length));
    tone.frequency = static_cast<double>(crossings) / 2.0 / tone.seconds;
    return tone;
}
