#include "Dsp/Envelope.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Steepness of the decay and release curves: e^-5 is where a plain exponential would be at the
// stage's end; the curve is rescaled to reach its target there.
constexpr float Steepness = 5.0f;

long Samples(float seconds)
{
    return std::lround(std::max(0.0f, seconds) * SampleRate);
}

} // namespace

Envelope::Envelope(const AdsrTimes& times)
    : times(times),
      attackLength(Samples(times.attack)),
      decayLength(Samples(times.decay)),
      releaseLength(Samples(times.release))
{
}

void Envelope::StartFall(long length)
{
    fallFactor = std::exp(-Steepness / static_cast<double>(std::max(1L, length)));
    fallValue = 1.0;
}

// 1 at the stage's start, falling to 0 exactly at its end; the exponential is stepped by one
// multiplication a sample rather than evaluated.
float Envelope::Fall()
{
    static const double floor = std::exp(-static_cast<double>(Steepness));
    fallValue *= fallFactor;
    return static_cast<float>(std::max(0.0, (fallValue - floor) / (1.0 - floor)));
}

void Envelope::NoteOff()
{
    if (stage == Stage::Release || stage == Stage::Done)
        return;
    stage = Stage::Release;
    releaseFrom = level;
    position = 0;
    StartFall(releaseLength);
}

float Envelope::Next()
{
    switch (stage) {
    case Stage::Attack:
        if (position < attackLength) {
            level = static_cast<float>(position + 1) / static_cast<float>(attackLength);
            if (++position < attackLength)
                break;
        }
        level = 1.0f;
        stage = Stage::Decay;
        position = 0;
        StartFall(decayLength);
        break;
    case Stage::Decay:
        if (position < decayLength) {
            level = times.sustain + (1.0f - times.sustain) * (++position == decayLength ? 0.0f : Fall());
            break;
        }
        stage = Stage::Sustain;
        [[fallthrough]];
    case Stage::Sustain:
        level = times.sustain;
        break;
    case Stage::Release:
        if (position < releaseLength) {
            level = releaseFrom * (++position == releaseLength ? 0.0f : Fall());
            break;
        }
        stage = Stage::Done;
        [[fallthrough]];
    case Stage::Done:
        level = 0.0f;
        break;
    }
    return level;
}

} // namespace synth
