// The real output: an SDL2 audio device playing the mix.
#pragma once

#include "Platform/Audio/detail/OutputDevice.h"

#include <SDL_audio.h>

#include <memory>

namespace bass::detail {

class SdlOutputDevice final : public OutputDevice {
public:
    // Opens SDL's default output (the driver SDL_AUDIODRIVER names, or SDL's own choice) and starts
    // pulling from render. On failure returns null and sets error to BASS_ERROR_DRIVER.
    static std::unique_ptr<SdlOutputDevice> Open(long frequency, RenderFunction render, int& error);
    ~SdlOutputDevice() override;

    long Frequency() const override { return obtained.freq; }
    int Channels() const override { return obtained.channels; }
    unsigned LatencyMilliseconds() const override;
    unsigned BufferMilliseconds() const override;

private:
    explicit SdlOutputDevice(RenderFunction render);
    static void Callback(void* self, Uint8* stream, int length);

    RenderFunction render;
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
};

} // namespace bass::detail
