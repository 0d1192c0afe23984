// Decodes Ogg Vorbis with libvorbisfile, the way the show's player will read the soundtrack.
#pragma once

#include <string>
#include <vector>

namespace synthtest {

struct DecodedAudio {
    long rate = 0;
    int channels = 0;
    std::vector<float> left, right;
    long serial = 0;
};

// Fails the current test (and returns what it has) when the bytes are not a stereo Vorbis stream.
DecodedAudio DecodeOgg(const std::vector<unsigned char>& bytes);

} // namespace synthtest
