// A circular buffer of samples read a whole number of samples back: the storage behind the
// echo and the reverb.
#pragma once

#include <cstddef>
#include <vector>

namespace synth {

class DelayLine {
public:
    explicit DelayLine(size_t length) : buffer(length == 0 ? 1 : length) {}

    // The sample written `length` samples ago.
    float Read() const { return buffer[position]; }
    void Write(float value)
    {
        buffer[position] = value;
        if (++position == buffer.size())
            position = 0;
    }
    size_t Length() const { return buffer.size(); }

private:
    std::vector<float> buffer;
    size_t position = 0;
};

} // namespace synth
