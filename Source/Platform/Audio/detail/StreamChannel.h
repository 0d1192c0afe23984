// One stream: its decoder, its conversion to the output rate, and whether it plays. The owner
// serialises every call (the mixing thread and the API share one lock).
#pragma once

#include "Platform/Audio/Bass.h"
#include "Platform/Audio/detail/LinearResampler.h"
#include "Platform/Audio/detail/OggMemoryDecoder.h"

#include <memory>
#include <vector>

namespace bass::detail {

class StreamChannel {
public:
    // A decoding channel (decodeOnly) is read, never played or mixed.
    StreamChannel(std::unique_ptr<OggMemoryDecoder> decoder, long outputRate, DWORD flags);

    DWORD Flags() const { return flags; }
    bool DecodeOnly() const { return (flags & BASS_STREAM_DECODE) != 0; }
    long Rate() const { return decoder->Rate(); }
    // A decoding channel's next stereo frames at its own rate; fewer only at the end.
    size_t ReadDecoded(float* out, size_t frames);

    // Each returns a BASS error code; BASS_OK on success.
    int Play(bool restart);
    int Pause();
    void Stop();
    // Moves to a byte position of the stream's 16-bit data (rounded down to a whole frame).
    int SetPositionBytes(QWORD position);
    // The byte position of a time, in the stream's 16-bit data.
    QWORD SecondsToBytes(double seconds) const;
    double BytesToSeconds(QWORD position) const;

    DWORD Activity() const;
    QWORD PositionBytes() const;
    QWORD LengthBytes() const;

    // Adds gain times the stream's next frames to out (interleaved stereo), while it plays. At the
    // end of the data the stream stops by itself.
    void MixInto(float* out, size_t frames, float gain);

private:
    enum class State { Stopped, Playing, Paused };

    bool NextFrame(float* frame);
    bool SeekFrame(uint64_t frame);
    QWORD FramesToBytes(uint64_t frames) const;
    QWORD BytesPerFrame() const;

    std::unique_ptr<OggMemoryDecoder> decoder;
    LinearResampler resampler;
    std::vector<float> decoded;
    size_t decodedFrames = 0;
    size_t decodedRead = 0;
    std::vector<float> scratch;
    State state = State::Stopped;
    bool ended = false;
    DWORD flags = 0;
    uint64_t decodePosition = 0; // frames a decoding channel has handed out
};

} // namespace bass::detail
