// The soundtrack's decoder (Ogg Vorbis from memory, as the player reads it from the archive):
// whatever the bytes, opening either fails with one of its error codes or gives a mono or stereo
// stream that reads in whole frames up to its end and seeks only within it.
#include "FuzzCheck.h"
#include "Platform/Audio/Bass.h"
#include "Platform/Audio/detail/OggMemoryDecoder.h"

#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;
// Enough to reach the end of any stream the input size allows, short enough for quick runs.
constexpr size_t MaxFrames = 1 << 20;
constexpr size_t Chunk = 3000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    using bass::detail::OggMemoryDecoder;
    int error = BASS_OK;
    const auto decoder = OggMemoryDecoder::Open(data, size, error);
    if (!decoder) {
        FuzzCheck(error == BASS_ERROR_FILEFORM || error == BASS_ERROR_FORMAT || (size == 0 && error == BASS_ERROR_FILEOPEN),
                  "a refused stream says why");
        return 0;
    }
    FuzzCheck(decoder->Channels() == 1 || decoder->Channels() == 2, "a stream is mono or stereo");
    FuzzCheck(decoder->Rate() > 0, "a stream has a rate");
    FuzzCheck(!decoder->Seek(decoder->TotalFrames() + 1), "no seek beyond the end");

    std::vector<float> frames(2 * Chunk);
    for (size_t total = 0; total < MaxFrames;) {
        const size_t got = decoder->ReadStereo(frames.data(), Chunk);
        FuzzCheck(got <= Chunk, "no more frames than asked for");
        if (got == 0)
            break;
        total += got;
    }
    if (decoder->Seek(0))
        FuzzCheck(decoder->ReadStereo(frames.data(), Chunk) <= Chunk, "a stream reads again after a seek");
    return 0;
}
