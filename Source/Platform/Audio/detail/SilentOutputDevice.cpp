#include "Platform/Audio/detail/SilentOutputDevice.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace bass::detail {

namespace {
constexpr std::chrono::milliseconds Period{10};
constexpr size_t ChunkFrames = 1024;
} // namespace

SilentOutputDevice::SilentOutputDevice(long frequency, RenderFunction render)
    : frequency(frequency), render(std::move(render)), thread(&SilentOutputDevice::Run, this)
{
}

SilentOutputDevice::~SilentOutputDevice()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
}

unsigned SilentOutputDevice::BufferMilliseconds() const
{
    return static_cast<unsigned>(Period.count());
}

// Renders whatever the wall clock says is due since the start, so late wake-ups catch up instead
// of slowing the stream down.
void SilentOutputDevice::Run()
{
    std::vector<float> discard(2 * ChunkFrames);
    const auto start = std::chrono::steady_clock::now();
    uint64_t rendered = 0;
    std::unique_lock lock(mutex);
    while (!wake.wait_for(lock, Period, [this] { return stopping; })) {
        lock.unlock();
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        const uint64_t due = static_cast<uint64_t>(elapsed.count()) * static_cast<uint64_t>(frequency) / 1000000u;
        while (rendered < due) {
            const size_t frames = static_cast<size_t>(std::min<uint64_t>(due - rendered, ChunkFrames));
            render(discard.data(), frames);
            rendered += frames;
        }
        lock.lock();
    }
}

} // namespace bass::detail
