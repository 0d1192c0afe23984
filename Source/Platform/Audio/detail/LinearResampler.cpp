#include "Platform/Audio/detail/LinearResampler.h"

namespace bass::detail {

LinearResampler::LinearResampler(long sourceRate, long outputRate)
    : step(static_cast<double>(sourceRate) / static_cast<double>(outputRate))
{
}

void LinearResampler::Reset(uint64_t first)
{
    fraction = 0.0;
    primed = false;
    hasFollowing = false;
    finished = false;
    consumed = first;
}

bool LinearResampler::Prime(const FrameSource& next)
{
    if (!next(current)) {
        finished = true;
        return false;
    }
    hasFollowing = next(following);
    primed = true;
    return true;
}

// Moves on by one source frame. At the end the last frame is held for interpolation until it has
// been played through too.
void LinearResampler::Advance(const FrameSource& next)
{
    ++consumed;
    if (!hasFollowing) {
        finished = true;
        return;
    }
    current[0] = following[0];
    current[1] = following[1];
    hasFollowing = next(following);
}

size_t LinearResampler::Produce(float* out, size_t count, const FrameSource& next)
{
    if (!primed && !finished && !Prime(next))
        return 0;
    size_t produced = 0;
    while (produced < count && !finished) {
        const float* to = hasFollowing ? following : current;
        const auto weight = static_cast<float>(fraction);
        out[0] = current[0] + (to[0] - current[0]) * weight;
        out[1] = current[1] + (to[1] - current[1]) * weight;
        out += 2;
        ++produced;
        fraction += step;
        while (fraction >= 1.0 && !finished) {
            fraction -= 1.0;
            Advance(next);
        }
    }
    return produced;
}

} // namespace bass::detail
