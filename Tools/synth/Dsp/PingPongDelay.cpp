#include "Dsp/PingPongDelay.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Echoes of bass notes only muddy the low end.
constexpr double LowCutHz = 250.0;

} // namespace

PingPongDelay::PingPongDelay(const DelaySettings& settings)
    : leftLine(static_cast<size_t>(std::lround(settings.seconds * SampleRate))),
      rightLine(static_cast<size_t>(std::lround(settings.seconds * SampleRate))),
      feedback(std::clamp(settings.feedback, 0.0f, 0.95f)),
      lowCutLeft(FilterMode::HighPass),
      lowCutRight(FilterMode::HighPass)
{
    toneLeft.Set(settings.toneHz, 0.0);
    toneRight.Set(settings.toneHz, 0.0);
    lowCutLeft.Set(LowCutHz, 0.0);
    lowCutRight.Set(LowCutHz, 0.0);
}

void PingPongDelay::Process(float* left, float* right, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float input = lowCutLeft.Process(0.5f * (left[i] + right[i]));
        const float echoLeft = leftLine.Read();
        const float echoRight = rightLine.Read();
        leftLine.Write(input + feedback * toneLeft.Process(echoRight));
        rightLine.Write(lowCutRight.Process(toneRight.Process(echoLeft)));
        left[i] = echoLeft;
        right[i] = echoRight;
    }
}

} // namespace synth
