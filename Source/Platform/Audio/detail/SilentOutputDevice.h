// The no-sound device: nothing is heard, but a thread of its own pulls the mix at the pace of the
// wall clock, so streams advance and end just as they would on a sound card.
#pragma once

#include "Platform/Audio/detail/OutputDevice.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace bass::detail {

class SilentOutputDevice final : public OutputDevice {
public:
    SilentOutputDevice(long frequency, RenderFunction render);
    ~SilentOutputDevice() override;

    long Frequency() const override { return frequency; }
    int Channels() const override { return 2; }
    unsigned LatencyMilliseconds() const override { return 0; }
    unsigned BufferMilliseconds() const override;

private:
    void Run();

    long frequency;
    RenderFunction render;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};

} // namespace bass::detail
