// The show's music from the archive as stereo float samples, from a chosen show second on: what an
// offline run lays under its pictures. Past the music's end it gives silence.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace bass::detail {
class OggMemoryDecoder;
}
class FileSys;

class Soundtrack {
public:
    // Throws FrameworkEx naming the entry when the music is missing or cannot be decoded.
    Soundtrack(const FileSys& files, double fromSeconds);
    ~Soundtrack();

    int Rate() const { return rate; }
    // The next frames of interleaved left and right samples.
    void Read(float* samples, size_t frames);

private:
    std::vector<unsigned char> bytes; // the decoder reads them in place
    std::unique_ptr<bass::detail::OggMemoryDecoder> decoder;
    int rate = 0;
};
