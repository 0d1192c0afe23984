#include "Instruments/Voice.h"

#include <algorithm>

namespace synth {

bool Voice::Render(float* left, float* right, long from, int frames, const LiveParams& live)
{
    const long to = from + frames;
    if (to <= start)
        return true;
    long position = std::max(from, start);
    bool alive = true;
    if (!released && end < to) {
        const long noteOff = std::max(position, end);
        if (noteOff > position)
            alive = Generate(left + (position - from), right + (position - from), static_cast<int>(noteOff - position), live);
        NoteOff();
        released = true;
        position = noteOff;
    }
    if (alive && position < to)
        alive = Generate(left + (position - from), right + (position - from), static_cast<int>(to - position), live);
    return alive;
}

} // namespace synth
