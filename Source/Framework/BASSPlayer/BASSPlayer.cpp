#include "Framework/BASSPlayer/BASSPlayer.h"

#include "Framework/FileSys/FileSys.h"

namespace {

constexpr DWORD OutputRate = 44100;
constexpr DWORD HalfVolume = 5000;
constexpr int DefaultDevice = -1;
constexpr int NoSoundDevice = 0;

std::string ErrorCodeText()
{
    return std::to_string(BASS_ErrorGetCode()) + ".";
}

} // namespace

BASSPlayer::BASSPlayer(VersionQuery queryVersion) : Singleton("BASSPlayer"), queryVersion(queryVersion) {}

BASSPlayer::~BASSPlayer() = default;

void BASSPlayer::OpenDevice(void* window)
{
    if ((queryVersion() >> 16) != BASSVERSION)
        throw FrameworkEx("Wrong BASS .dll for this .lib");

    BASS_SetConfig(BASS_CONFIG_GVOL_MUSIC, HalfVolume);
    BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, HalfVolume);
    BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, HalfVolume);

    // Without a sound card the show still runs, silently, on the device whose clock keeps going.
    if (!BASS_Init(DefaultDevice, OutputRate, BASS_DEVICE_LATENCY, window, nullptr))
        BASS_Init(NoSoundDevice, OutputRate, BASS_DEVICE_LATENCY, window, nullptr);
}

void BASSPlayer::Init()
{
    // A stream still reading an earlier buffer must be gone before that buffer is replaced.
    if (stream != 0)
        Release();

    fileBuffer = FileSys::Instance()->ReadAll(MusicName).value_or(std::vector<unsigned char>{});
    stream = BASS_StreamCreateFile(TRUE, fileBuffer.data(), 0, fileBuffer.size(), BASS_STREAM_PRESCAN);
    if (stream == 0)
        throw FrameworkEx("[BASSPlayer::Init] Could not create stream.  BASS error code " + ErrorCodeText());
    BASS_GetInfo(&info);
    reload = ReloadHub::WatchIfLive({MusicName}, [this] { Reload(); });
}

void BASSPlayer::Reload()
{
    std::vector<unsigned char> freshBuffer = FileSys::Instance()->ReadAll(MusicName).value_or(std::vector<unsigned char>{});
    if (freshBuffer.empty())
        throw FrameworkEx("[BASSPlayer::Reload] No music in " + MusicName);
    const HSTREAM fresh = BASS_StreamCreateFile(TRUE, freshBuffer.data(), 0, freshBuffer.size(), BASS_STREAM_PRESCAN);
    if (fresh == 0)
        throw FrameworkEx("[BASSPlayer::Reload] Could not create stream.  BASS error code " + ErrorCodeText());
    const bool playing = stream != 0 && BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING;
    const double seconds = stream != 0 ? BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE)) : 0.0;
    BASS_ChannelStop(stream);
    BASS_StreamFree(stream);
    stream = fresh;
    // The vector's storage moves with it, so the new stream's bytes stay where it reads them.
    fileBuffer = std::move(freshBuffer);
    BASS_ChannelSetPosition(stream, BASS_ChannelSeconds2Bytes(stream, seconds), BASS_POS_BYTE);
    if (playing && !BASS_ChannelPlay(stream, FALSE))
        throw FrameworkEx("[BASSPlayer::Reload] Could not play stream.  BASS error code " + ErrorCodeText());
}

void BASSPlayer::Play()
{
    if (!BASS_ChannelPlay(stream, TRUE))
        throw FrameworkEx("[BASSPlayer::Play] Could not play stream.  BASS error code " + ErrorCodeText());
}

void BASSPlayer::Release()
{
    BASS_ChannelStop(stream);
    BASS_StreamFree(stream);
    stream = 0;
    fileBuffer.clear();
    fileBuffer.shrink_to_fit();
}
