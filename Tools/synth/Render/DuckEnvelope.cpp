#include "Render/DuckEnvelope.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Fast enough to clear room for the kick's attack, slow enough not to click.
constexpr float AttackSeconds = 0.004f;

} // namespace

DuckEnvelope::DuckEnvelope(std::vector<long> triggers, float releaseSeconds)
    : triggers(std::move(triggers)),
      attackFrames(std::lround(AttackSeconds * SampleRate)),
      releaseFrames(std::max(1L, std::lround(releaseSeconds * SampleRate)))
{
}

float DuckEnvelope::Shape(long since) const
{
    if (since < 0)
        return 0.0f;
    if (since < attackFrames)
        return static_cast<float>(since) / attackFrames;
    const long intoRelease = since - attackFrames;
    if (intoRelease >= releaseFrames)
        return 0.0f;
    // Half a cosine: leaves the floor gently and lands softly at full level.
    return 0.5f + 0.5f * static_cast<float>(std::cos(Pi * intoRelease / releaseFrames));
}

float DuckEnvelope::At(long frame) const
{
    // The latest kick at or before the frame, and the one before it whose release may still run.
    const auto after = std::upper_bound(triggers.begin(), triggers.end(), frame);
    float amount = 0.0f;
    for (auto it = after; it != triggers.begin() && after - it < 2;) {
        --it;
        amount = std::max(amount, Shape(frame - *it));
    }
    return amount;
}

} // namespace synth
