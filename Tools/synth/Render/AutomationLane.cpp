#include "Render/AutomationLane.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// A fade towards -inf dB ramps like one towards this level, and is silent from its end on.
constexpr float FadeFloorDb = -90.0f;

float Interpolate(AutomatedParam param, float from, float to, double fraction)
{
    const auto f = static_cast<float>(fraction);
    switch (param) {
    case AutomatedParam::Cutoff:
        // Frequencies are heard in octaves: sweep evenly in octaves.
        return from * std::pow(to / from, f);
    case AutomatedParam::Gain:
        return std::max(from, FadeFloorDb) + (std::max(to, FadeFloorDb) - std::max(from, FadeFloorDb)) * f;
    case AutomatedParam::Resonance:
    case AutomatedParam::DelaySend:
    case AutomatedParam::ReverbSend:
        break;
    }
    return from + (to - from) * f;
}

} // namespace

AutomationLane::AutomationLane(const Score& score, int instrument, AutomatedParam param, float base)
    : param(param), base(base)
{
    for (const AutomationSegment& segment : score.automation) {
        if (segment.instrument == instrument && segment.param == param)
            segments.push_back(segment);
    }
    std::sort(segments.begin(), segments.end(),
              [](const AutomationSegment& a, const AutomationSegment& b) { return a.startBar < b.startBar; });
}

float AutomationLane::ValueAt(double bar) const
{
    float value = base;
    for (const AutomationSegment& segment : segments) {
        if (bar < segment.startBar)
            break;
        if (bar >= segment.endBar) {
            value = segment.to;
            continue;
        }
        return Interpolate(param, segment.from, segment.to, (bar - segment.startBar) / (segment.endBar - segment.startBar));
    }
    return value;
}

} // namespace synth
