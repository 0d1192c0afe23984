// Where the mix goes. Each device pulls interleaved stereo float frames from its render function on
// a thread of its own, at the pace of real time, until it is destroyed.
#pragma once

#include <cstddef>
#include <functional>

namespace bass::detail {

class OutputDevice {
public:
    using RenderFunction = std::function<void(float* stereo, size_t frames)>;

    virtual ~OutputDevice() = default;

    virtual long Frequency() const = 0;
    virtual int Channels() const = 0;
    // How long the device holds mixed audio before it is heard.
    virtual unsigned LatencyMilliseconds() const = 0;
    // The length of one buffer the device asks for.
    virtual unsigned BufferMilliseconds() const = 0;
};

} // namespace bass::detail
