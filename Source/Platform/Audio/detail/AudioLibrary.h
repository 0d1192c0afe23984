// The audio library's one state: the open device, the streams by handle and the global volumes.
// Two locks: `api` serialises the library's calls, `mix` guards what the output thread reads while
// mixing. They are always taken in that order, and the output thread takes only `mix`, so a call
// that closes the device while holding `api` never waits on a mixer that waits on it.
#pragma once

#include "Platform/Audio/Bass.h"
#include "Platform/Audio/detail/OutputDevice.h"
#include "Platform/Audio/detail/StreamChannel.h"

#include <map>
#include <memory>
#include <mutex>

namespace bass::detail {

struct AudioLibrary {
    static AudioLibrary& Get();
    // A device still open at exit stops pulling before the streams it mixes go away.
    ~AudioLibrary() { device.reset(); }

    // Mixes every playing stream into out, scaled by the stream volume and clipped to [-1, 1].
    void Mix(float* out, size_t frames);
    // The stream of that handle, or null. Needs `mix` held.
    StreamChannel* Find(DWORD handle);

    std::mutex api;
    std::mutex mix;

    std::unique_ptr<OutputDevice> device;
    DWORD initFlags = 0;
    std::map<HSTREAM, std::unique_ptr<StreamChannel>> streams;
    // Handles count up and are never given out twice, so a freed one stays invalid.
    HSTREAM nextHandle = 0x80000001u;
    DWORD sampleVolume = BASS_MAX_GVOL;
    DWORD streamVolume = BASS_MAX_GVOL;
    DWORD musicVolume = BASS_MAX_GVOL;
};

} // namespace bass::detail
