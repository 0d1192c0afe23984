// Converts a stream of stereo frames from the stream's rate to the output's by linear
// interpolation. At equal rates it passes every frame through unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace bass::detail {

class LinearResampler {
public:
    // Writes the next source frame (two floats); false once the source has ended.
    using FrameSource = std::function<bool(float* frame)>;

    LinearResampler(long sourceRate, long outputRate);

    // Starts over, counting the next source frame as number `first`.
    void Reset(uint64_t first = 0);
    // Writes up to count stereo frames to out; fewer only once the source is used up.
    size_t Produce(float* out, size_t count, const FrameSource& next);

    // Source frames played through completely so far.
    uint64_t Consumed() const { return consumed; }
    bool Finished() const { return finished; }

private:
    bool Prime(const FrameSource& next);
    void Advance(const FrameSource& next);

    double step; // source frames per output frame
    double fraction = 0.0;
    float current[2] = {0.0f, 0.0f};
    float following[2] = {0.0f, 0.0f};
    bool primed = false;
    bool hasFollowing = false;
    bool finished = false;
    uint64_t consumed = 0;
};

} // namespace bass::detail
