#include "Demo/Capture/Soundtrack.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Platform/Audio/detail/OggMemoryDecoder.h"

#include <algorithm>
#include <cmath>

Soundtrack::Soundtrack(const FileSys& files, double fromSeconds)
{
    const std::string& name = BASSPlayer::MusicName;
    std::optional<std::vector<unsigned char>> music = files.ReadAll(name);
    if (!music)
        throw FrameworkEx("[Soundtrack] The archive holds no music \"" + name + "\"");
    bytes = std::move(*music);
    int error = 0;
    decoder = bass::detail::OggMemoryDecoder::Open(bytes.data(), bytes.size(), error);
    if (!decoder)
        throw FrameworkEx("[Soundtrack] The music \"" + name + "\" is not Ogg Vorbis that can be decoded (error " +
                          std::to_string(error) + ")");
    rate = static_cast<int>(decoder->Rate());
    const uint64_t first = static_cast<uint64_t>(std::llround(fromSeconds * rate));
    if (first > 0 && !decoder->Seek(std::min(first, decoder->TotalFrames())))
        throw FrameworkEx("[Soundtrack] The music \"" + name + "\" cannot be read from second " +
                          std::to_string(fromSeconds));
}

Soundtrack::~Soundtrack() = default;

void Soundtrack::Read(float* samples, size_t frames)
{
    size_t done = 0;
    while (done < frames) {
        const size_t read = decoder->ReadStereo(samples + 2 * done, frames - done);
        if (read == 0)
            break;
        done += read;
    }
    std::fill(samples + 2 * done, samples + 2 * frames, 0.0f);
}
