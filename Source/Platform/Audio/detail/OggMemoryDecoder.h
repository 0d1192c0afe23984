// Decodes an Ogg Vorbis file that lies in memory, reading the caller's bytes in place (no copy, no
// temporary file) and handing out interleaved stereo float frames.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace bass::detail {

class OggMemoryDecoder {
public:
    // On failure returns null and sets error to a BASS error code: BASS_ERROR_FILEOPEN for no
    // bytes, BASS_ERROR_FILEFORM for data that is not Ogg Vorbis, BASS_ERROR_FORMAT for a file
    // that is not mono or stereo or whose chained parts differ in rate or channels.
    static std::unique_ptr<OggMemoryDecoder> Open(const unsigned char* data, size_t size, int& error);
    ~OggMemoryDecoder();

    OggMemoryDecoder(const OggMemoryDecoder&) = delete;
    OggMemoryDecoder& operator=(const OggMemoryDecoder&) = delete;

    int Channels() const { return channels; }
    long Rate() const { return rate; }
    uint64_t TotalFrames() const { return totalFrames; }

    // Writes up to maxFrames stereo frames (mono is doubled). Fewer only at the end of the stream,
    // which is also where damage that the decoder cannot step over ends it.
    size_t ReadStereo(float* out, size_t maxFrames);
    // Moves to that frame (0 = the start); false when the stream cannot seek there.
    bool Seek(uint64_t frame);

private:
    struct Source {
        const unsigned char* data;
        size_t size;
        size_t position;
    };

    OggMemoryDecoder(const unsigned char* data, size_t size);
    int Validate();

    static size_t Read(void* destination, size_t size, size_t count, void* source);
    static int Seek(void* source, ogg_int64_t offset, int whence);
    static long Tell(void* source);

    // vorbisfile keeps pointers to both, so the decoder never moves once opened.
    Source source;
    OggVorbis_File file{};
    bool opened = false;
    int channels = 0;
    long rate = 0;
    uint64_t totalFrames = 0;
};

} // namespace bass::detail
