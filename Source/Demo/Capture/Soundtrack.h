// The show's music from the archive as stereo float samples, from a chosen show second on: what an
// offline run lays under its pictures. Past the music's end it gives silence.
#pragma once

#include "Platform/Audio/Bass.h"

#include <cstddef>
#include <vector>

class FileSys;

class Soundtrack {
public:
    // Throws FrameworkEx naming the entry when the music is missing or cannot be decoded.
    Soundtrack(const FileSys& files, double fromSeconds);
    ~Soundtrack();
    Soundtrack(const Soundtrack&) = delete;
    Soundtrack& operator=(const Soundtrack&) = delete;

    int Rate() const { return rate; }
    // The next frames of interleaved left and right samples.
    void Read(float* samples, size_t frames);

private:
    void Release();

    std::vector<unsigned char> bytes; // the stream reads them in place
    HSTREAM stream = 0;               // a decoding channel of the audio library
    bool ownsDevice = false;          // the silent device opened for it, closed with it
    int rate = 0;
};
