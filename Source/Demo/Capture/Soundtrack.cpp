#include "Demo/Capture/Soundtrack.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"

#include <algorithm>

Soundtrack::Soundtrack(const FileSys& files, double fromSeconds)
{
    const std::string& name = BASSPlayer::MusicName;
    std::optional<std::vector<unsigned char>> music = files.ReadAll(name);
    if (!music)
        throw FrameworkEx("[Soundtrack] The archive holds no music \"" + name + "\"");
    bytes = std::move(*music);
    // A decoding channel needs an open device; the silent one plays nothing.
    if (BASS_Init(0, 44100, 0, nullptr, nullptr))
        ownsDevice = true;
    else if (BASS_ErrorGetCode() != BASS_ERROR_ALREADY)
        throw FrameworkEx("[Soundtrack] The audio library cannot open its silent device (error " +
                          std::to_string(BASS_ErrorGetCode()) + ")");
    stream = BASS_StreamCreateFile(TRUE, bytes.data(), 0, bytes.size(), BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
    BASS_CHANNELINFO info{};
    if (!stream || !BASS_ChannelGetInfo(stream, &info)) {
        const int error = BASS_ErrorGetCode();
        Release(); // the destructor does not run for a constructor that throws
        throw FrameworkEx("[Soundtrack] The music \"" + name + "\" is not Ogg Vorbis that can be decoded (error " +
                          std::to_string(error) + ")");
    }
    rate = static_cast<int>(info.freq);
    // From a time past the music's end on, there is only silence.
    const QWORD position = std::min(BASS_ChannelSeconds2Bytes(stream, std::max(fromSeconds, 0.0)),
                                    BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    if (position > 0 && !BASS_ChannelSetPosition(stream, position, BASS_POS_BYTE)) {
        Release();
        throw FrameworkEx("[Soundtrack] The music \"" + name + "\" cannot be read from second " +
                          std::to_string(fromSeconds));
    }
}

Soundtrack::~Soundtrack()
{
    Release();
}

void Soundtrack::Release()
{
    if (stream)
        BASS_StreamFree(stream);
    stream = 0;
    if (ownsDevice)
        BASS_Free();
    ownsDevice = false;
}

void Soundtrack::Read(float* samples, size_t frames)
{
    constexpr size_t ChunkFrames = 16384; // far below the length field's flag bits
    size_t done = 0;
    while (done < frames) {
        const size_t chunk = std::min(frames - done, ChunkFrames);
        const DWORD bytes = BASS_ChannelGetData(stream, samples + 2 * done,
                                                static_cast<DWORD>(chunk * 2 * sizeof(float)) | BASS_DATA_FLOAT);
        if (bytes == static_cast<DWORD>(-1) || bytes == 0)
            break;
        done += bytes / (2 * sizeof(float));
    }
    std::fill(samples + 2 * done, samples + 2 * frames, 0.0f);
}
