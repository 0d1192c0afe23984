#include "Platform/Audio/detail/AudioLibrary.h"

#include <algorithm>

namespace bass::detail {

AudioLibrary& AudioLibrary::Get()
{
    static AudioLibrary library;
    return library;
}

StreamChannel* AudioLibrary::Find(DWORD handle)
{
    const auto found = streams.find(handle);
    return found == streams.end() ? nullptr : found->second.get();
}

void AudioLibrary::Mix(float* out, size_t frames)
{
    std::fill(out, out + 2 * frames, 0.0f);
    std::lock_guard lock(mix);
    const float gain = static_cast<float>(streamVolume) / static_cast<float>(BASS_MAX_GVOL);
    for (auto& [handle, stream] : streams)
        stream->MixInto(out, frames, gain);
    for (size_t i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

} // namespace bass::detail
