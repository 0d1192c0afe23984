// The library's device calls: version, configuration, opening and closing the output, its record.
#include "Platform/Audio/Bass.h"

#include "Platform/Audio/detail/AudioLibrary.h"
#include "Platform/Audio/detail/ErrorCode.h"
#include "Platform/Audio/detail/SdlOutputDevice.h"
#include "Platform/Audio/detail/SilentOutputDevice.h"

#include <cstring>

using namespace bass::detail;

namespace {

constexpr int DefaultDevice = -1;
constexpr int NoSoundDevice = 0;
constexpr DWORD MaxFrequency = 384000;

DWORD* GlobalVolume(AudioLibrary& library, DWORD option)
{
    switch (option) {
    case BASS_CONFIG_GVOL_SAMPLE:
        return &library.sampleVolume;
    case BASS_CONFIG_GVOL_STREAM:
        return &library.streamVolume;
    case BASS_CONFIG_GVOL_MUSIC:
        return &library.musicVolume;
    default:
        return nullptr;
    }
}

} // namespace

DWORD BASS_GetVersion()
{
    SetError(BASS_OK);
    return BASSVERSION << 16;
}

int BASS_ErrorGetCode()
{
    return LastError();
}

BOOL BASS_SetConfig(DWORD option, DWORD value)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    std::lock_guard mix(library.mix);
    DWORD* volume = GlobalVolume(library, option);
    if (volume == nullptr || value > BASS_MAX_GVOL)
        return Fail(BASS_ERROR_ILLPARAM, FALSE);
    *volume = value;
    SetError(BASS_OK);
    return TRUE;
}

DWORD BASS_GetConfig(DWORD option)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    std::lock_guard mix(library.mix);
    const DWORD* volume = GlobalVolume(library, option);
    if (volume == nullptr)
        return Fail(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
    SetError(BASS_OK);
    return *volume;
}

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* /*window*/, const void* clsid)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    if (library.device)
        return Fail(BASS_ERROR_ALREADY, FALSE);
    if (device != DefaultDevice && device != NoSoundDevice)
        return Fail(BASS_ERROR_DEVICE, FALSE);
    if (freq == 0 || freq > MaxFrequency || clsid != nullptr)
        return Fail(BASS_ERROR_ILLPARAM, FALSE);
    if ((flags & ~BASS_DEVICE_LATENCY) != 0)
        return Fail(BASS_ERROR_NOTAVAIL, FALSE);

    auto render = [&library](float* out, size_t frames) { library.Mix(out, frames); };
    std::unique_ptr<OutputDevice> output;
    if (device == NoSoundDevice) {
        output = std::make_unique<SilentOutputDevice>(static_cast<long>(freq), render);
    } else {
        int error = BASS_OK;
        output = SdlOutputDevice::Open(static_cast<long>(freq), render, error);
        if (!output)
            return Fail(error, FALSE);
    }
    std::lock_guard mix(library.mix);
    library.device = std::move(output);
    library.initFlags = flags;
    SetError(BASS_OK);
    return TRUE;
}

BOOL BASS_Free()
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    if (!library.device)
        return Fail(BASS_ERROR_INIT, FALSE);
    // Closed without `mix` held: closing waits for the output thread, which may be mixing.
    library.device.reset();
    std::lock_guard mix(library.mix);
    library.streams.clear();
    library.initFlags = 0;
    SetError(BASS_OK);
    return TRUE;
}

BOOL BASS_GetInfo(BASS_INFO* info)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    if (!library.device)
        return Fail(BASS_ERROR_INIT, FALSE);
    if (info == nullptr)
        return Fail(BASS_ERROR_ILLPARAM, FALSE);
    const OutputDevice& output = *library.device;
    std::memset(info, 0, sizeof(*info));
    info->minrate = static_cast<DWORD>(output.Frequency());
    info->maxrate = static_cast<DWORD>(output.Frequency());
    info->freq = static_cast<DWORD>(output.Frequency());
    info->minbuf = output.BufferMilliseconds();
    info->latency = (library.initFlags & BASS_DEVICE_LATENCY) != 0 ? output.LatencyMilliseconds() : 0;
    info->initflags = library.initFlags;
    info->speakers = static_cast<DWORD>(output.Channels());
    SetError(BASS_OK);
    return TRUE;
}
