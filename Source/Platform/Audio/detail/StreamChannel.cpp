#include "Platform/Audio/detail/StreamChannel.h"

#include "Platform/ClampToInteger.h"

#include <algorithm>

namespace bass::detail {

namespace {
constexpr size_t DecodeChunkFrames = 1024;
constexpr size_t MixChunkFrames = 1024;
constexpr QWORD BytesPerSample = 2; // a stream's data is counted in 16-bit samples
} // namespace

StreamChannel::StreamChannel(std::unique_ptr<OggMemoryDecoder> source, long outputRate, DWORD flags)
    : decoder(std::move(source)),
      resampler(decoder->Rate(), outputRate),
      decoded(2 * DecodeChunkFrames),
      scratch(2 * MixChunkFrames),
      flags(flags)
{
}

size_t StreamChannel::ReadDecoded(float* out, size_t frames)
{
    size_t done = 0;
    while (done < frames) {
        const size_t read = decoder->ReadStereo(out + 2 * done, frames - done);
        if (read == 0)
            break;
        done += read;
    }
    decodePosition += done;
    return done;
}

int StreamChannel::Play(bool restart)
{
    if (DecodeOnly())
        return BASS_ERROR_DECODE;
    if ((restart || ended) && !SeekFrame(0))
        return BASS_ERROR_POSITION;
    state = State::Playing;
    return BASS_OK;
}

int StreamChannel::Pause()
{
    if (state == State::Paused)
        return BASS_ERROR_ALREADY;
    if (state != State::Playing)
        return BASS_ERROR_NOPLAY;
    state = State::Paused;
    return BASS_OK;
}

void StreamChannel::Stop()
{
    state = State::Stopped;
}

DWORD StreamChannel::Activity() const
{
    switch (state) {
    case State::Playing:
        return BASS_ACTIVE_PLAYING;
    case State::Paused:
        return BASS_ACTIVE_PAUSED;
    case State::Stopped:
        break;
    }
    return BASS_ACTIVE_STOPPED;
}

QWORD StreamChannel::BytesPerFrame() const
{
    return static_cast<QWORD>(decoder->Channels()) * BytesPerSample;
}

QWORD StreamChannel::FramesToBytes(uint64_t frames) const
{
    return frames * BytesPerFrame();
}

int StreamChannel::SetPositionBytes(QWORD position)
{
    const uint64_t frame = position / BytesPerFrame();
    if (frame > decoder->TotalFrames() || !SeekFrame(frame))
        return BASS_ERROR_POSITION;
    return BASS_OK;
}

QWORD StreamChannel::SecondsToBytes(double seconds) const
{
    // A time past the end (or NaN, or negative) converts to just past the end (or to the start), so
    // that setting the position there is refused instead of wrapping round.
    const uint64_t frame = ClampToInteger(seconds * static_cast<double>(decoder->Rate()), uint64_t(0),
                                          decoder->TotalFrames() + 1);
    return FramesToBytes(frame);
}

double StreamChannel::BytesToSeconds(QWORD position) const
{
    return static_cast<double>(position / BytesPerFrame()) / static_cast<double>(decoder->Rate());
}

QWORD StreamChannel::PositionBytes() const
{
    return FramesToBytes(DecodeOnly() ? decodePosition : resampler.Consumed());
}

QWORD StreamChannel::LengthBytes() const
{
    return FramesToBytes(decoder->TotalFrames());
}

bool StreamChannel::SeekFrame(uint64_t frame)
{
    if (!decoder->Seek(frame))
        return false;
    resampler.Reset(frame);
    decodePosition = frame;
    decodedFrames = 0;
    decodedRead = 0;
    ended = false;
    return true;
}

bool StreamChannel::NextFrame(float* frame)
{
    if (decodedRead == decodedFrames) {
        decodedFrames = decoder->ReadStereo(decoded.data(), DecodeChunkFrames);
        decodedRead = 0;
        if (decodedFrames == 0)
            return false;
    }
    frame[0] = decoded[2 * decodedRead];
    frame[1] = decoded[2 * decodedRead + 1];
    ++decodedRead;
    return true;
}

void StreamChannel::MixInto(float* out, size_t frames, float gain)
{
    const LinearResampler::FrameSource next = [this](float* frame) { return NextFrame(frame); };
    while (state == State::Playing && frames > 0) {
        const size_t produced = resampler.Produce(scratch.data(), std::min(frames, MixChunkFrames), next);
        for (size_t i = 0; i < 2 * produced; ++i)
            out[i] += gain * scratch[i];
        out += 2 * produced;
        frames -= produced;
        if (resampler.Finished()) {
            state = State::Stopped;
            ended = true;
        }
    }
}

} // namespace bass::detail
