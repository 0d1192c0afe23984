// The library's stream calls: creating a stream over memory, playing, pausing, stopping, freeing
// it, and reading where it is.
#include "Platform/Audio/Bass.h"

#include "Platform/Audio/detail/AudioLibrary.h"
#include "Platform/Audio/detail/ErrorCode.h"

#include <limits>

using namespace bass::detail;

namespace {

constexpr QWORD NoPosition = static_cast<QWORD>(-1);
// Far beyond any stream, and small enough that a byte count of it cannot overflow.
constexpr double MaxSeconds = 1e9;

// Runs action on the stream of that handle with both locks held; a handle that names no stream
// fails with BASS_ERROR_HANDLE.
template <class Result, class Action>
Result WithStream(DWORD handle, Result failure, Action action)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    std::lock_guard mix(library.mix);
    StreamChannel* stream = library.Find(handle);
    if (stream == nullptr)
        return Fail(BASS_ERROR_HANDLE, failure);
    SetError(BASS_OK);
    return action(*stream);
}

// BOOL results: action gives a BASS error code.
BOOL Check(int error)
{
    return error == BASS_OK ? TRUE : Fail(error, FALSE);
}

} // namespace

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    if (!library.device)
        return Fail(BASS_ERROR_INIT, HSTREAM{0});
    if (!mem || (flags & ~(BASS_STREAM_PRESCAN | BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT)) != 0)
        return Fail(BASS_ERROR_NOTAVAIL, HSTREAM{0});
    if (file == nullptr || length == 0)
        return Fail(BASS_ERROR_FILEOPEN, HSTREAM{0});
    if (offset > std::numeric_limits<size_t>::max() || length > std::numeric_limits<size_t>::max())
        return Fail(BASS_ERROR_ILLPARAM, HSTREAM{0});
    if (library.nextHandle == 0)
        return Fail(BASS_ERROR_MEM, HSTREAM{0}); // every handle has been given out once

    int error = BASS_OK;
    const auto* data = static_cast<const unsigned char*>(file) + offset;
    auto decoder = OggMemoryDecoder::Open(data, static_cast<size_t>(length), error);
    if (!decoder)
        return Fail(error, HSTREAM{0});
    auto stream = std::make_unique<StreamChannel>(std::move(decoder), library.device->Frequency(), flags);

    std::lock_guard mix(library.mix);
    const HSTREAM handle = library.nextHandle++;
    library.streams.emplace(handle, std::move(stream));
    SetError(BASS_OK);
    return handle;
}

BOOL BASS_StreamFree(HSTREAM handle)
{
    AudioLibrary& library = AudioLibrary::Get();
    std::lock_guard api(library.api);
    std::lock_guard mix(library.mix);
    if (library.streams.erase(handle) == 0)
        return Fail(BASS_ERROR_HANDLE, FALSE);
    SetError(BASS_OK);
    return TRUE;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    return WithStream(handle, FALSE, [restart](StreamChannel& stream) { return Check(stream.Play(restart != FALSE)); });
}

BOOL BASS_ChannelPause(DWORD handle)
{
    return WithStream(handle, FALSE, [](StreamChannel& stream) { return Check(stream.Pause()); });
}

BOOL BASS_ChannelStop(DWORD handle)
{
    return WithStream(handle, FALSE, [](StreamChannel& stream) {
        stream.Stop();
        return TRUE;
    });
}

DWORD BASS_ChannelIsActive(DWORD handle)
{
    return WithStream(handle, BASS_ACTIVE_STOPPED, [](StreamChannel& stream) { return stream.Activity(); });
}

QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode)
{
    return WithStream(handle, NoPosition, [mode](StreamChannel& stream) {
        return mode == BASS_POS_BYTE ? stream.PositionBytes() : Fail(BASS_ERROR_NOTAVAIL, NoPosition);
    });
}

QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode)
{
    return WithStream(handle, NoPosition, [mode](StreamChannel& stream) {
        return mode == BASS_POS_BYTE ? stream.LengthBytes() : Fail(BASS_ERROR_NOTAVAIL, NoPosition);
    });
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode)
{
    return WithStream(handle, FALSE, [pos, mode](StreamChannel& stream) {
        return mode == BASS_POS_BYTE ? Check(stream.SetPositionBytes(pos)) : Fail(BASS_ERROR_NOTAVAIL, FALSE);
    });
}

QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos)
{
    return WithStream(handle, NoPosition, [pos](StreamChannel& stream) {
        if (!(pos >= 0.0 && pos <= MaxSeconds))
            return Fail(BASS_ERROR_ILLPARAM, NoPosition);
        return stream.SecondsToBytes(pos);
    });
}

double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos)
{
    return WithStream(handle, -1.0, [pos](StreamChannel& stream) { return stream.BytesToSeconds(pos); });
}

BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info)
{
    if (info == nullptr)
        return Fail(BASS_ERROR_ILLPARAM, FALSE);
    return WithStream(handle, FALSE, [info](StreamChannel& stream) {
        *info = {static_cast<DWORD>(stream.Rate()), 2, stream.Flags()};
        return TRUE;
    });
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length)
{
    constexpr DWORD Failed = static_cast<DWORD>(-1);
    return WithStream(handle, Failed, [buffer, length](StreamChannel& stream) {
        if (!stream.DecodeOnly() || (length & BASS_DATA_FLOAT) == 0)
            return Fail(BASS_ERROR_NOTAVAIL, Failed);
        const size_t frames = (length & ~BASS_DATA_FLOAT) / (2 * sizeof(float));
        if (buffer == nullptr && frames > 0)
            return Fail(BASS_ERROR_ILLPARAM, Failed);
        const size_t read = stream.ReadDecoded(static_cast<float*>(buffer), frames);
        if (read == 0 && frames > 0)
            return Fail(BASS_ERROR_ENDED, Failed);
        return static_cast<DWORD>(read * 2 * sizeof(float));
    });
}
