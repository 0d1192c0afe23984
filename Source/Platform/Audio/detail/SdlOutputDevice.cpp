#include "Platform/Audio/detail/SdlOutputDevice.h"

#include "Platform/Audio/Bass.h"

#include <SDL.h>

namespace bass::detail {

namespace {
// About 23 ms at 44.1 kHz: short enough for the show to keep time with what is heard, long enough
// not to underrun on a loaded machine.
constexpr Uint16 BufferFrames = 1024;
} // namespace

SdlOutputDevice::SdlOutputDevice(RenderFunction render) : render(std::move(render)) {}

std::unique_ptr<SdlOutputDevice> SdlOutputDevice::Open(long frequency, RenderFunction render, int& error)
{
    error = BASS_ERROR_DRIVER;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    std::unique_ptr<SdlOutputDevice> output(new SdlOutputDevice(std::move(render)));
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(frequency);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = BufferFrames;
    wanted.callback = &SdlOutputDevice::Callback;
    wanted.userdata = output.get();
    // The device may keep its own rate (the streams are resampled to it), but format and channels
    // are converted by SDL, which adds no buffering of its own.
    output->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &output->obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (output->device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(output->device, 0);
    error = BASS_OK;
    return output;
}

SdlOutputDevice::~SdlOutputDevice()
{
    // Closing waits for a running callback to return, so render is not called after this.
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlOutputDevice::Callback(void* self, Uint8* stream, int length)
{
    const size_t frames = static_cast<size_t>(length) / (2 * sizeof(float));
    static_cast<SdlOutputDevice*>(self)->render(reinterpret_cast<float*>(stream), frames);
}

// A sample mixed in a callback is heard once the buffer already queued ahead of it has played:
// latency = ceil(1000 * obtained buffer frames / obtained rate) ms.
unsigned SdlOutputDevice::LatencyMilliseconds() const
{
    return BufferMilliseconds();
}

unsigned SdlOutputDevice::BufferMilliseconds() const
{
    const unsigned long rate = static_cast<unsigned long>(obtained.freq);
    return static_cast<unsigned>((1000ul * obtained.samples + rate - 1) / rate);
}

} // namespace bass::detail
