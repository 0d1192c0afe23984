// The show's soundtrack player: opens the audio device, streams the Ogg Vorbis music from a buffer
// read out of the archive, and tells the framework the output latency so that its clock reaches 0
// when the first sound is heard.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/Singleton.h"
#include "Platform/Audio/Bass.h"

#include <string>
#include <vector>

class BASSPlayer : public Singleton<BASSPlayer> {
public:
    using VersionQuery = DWORD (*)();

    static inline const std::string MusicName = "Data\\tindrevik_invtro.ogg";

    // queryVersion is where the audio library's version is read; only tests name another.
    explicit BASSPlayer(VersionQuery queryVersion = &BASS_GetVersion);
    ~BASSPlayer();

    // Checks the library version, sets the global volumes and opens the default output, or the
    // silent device when that fails.
    void OpenDevice(void* window);
    // Reads the music out of the archive and creates its stream.
    void Init();
    // Decodes the music out of the archive again into a new stream at the old one's position,
    // playing if it played. When the new music cannot be read, the old one plays on (FrameworkEx).
    void Reload();
    // Starts the stream from its beginning.
    void Play();
    // Stops and frees the stream and frees the music buffer; harmless when there is none.
    void Release();

    HSTREAM Stream() const { return stream; }
    const BASS_INFO& Info() const { return info; }
    // Milliseconds from starting the stream to hearing it.
    DWORD LatencyMilliseconds() const { return info.latency; }

private:
    VersionQuery queryVersion;
    BASS_INFO info{};
    HSTREAM stream = 0;
    // The library decodes straight out of this while the stream exists.
    std::vector<unsigned char> fileBuffer;
    ReloadHub::Subscription reload;
};
