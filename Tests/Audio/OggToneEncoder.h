// Encodes sine tones as an Ogg Vorbis file in memory, one frequency per channel, so that tests
// know exactly what a decoder must hand back.
#pragma once

#include <vector>

std::vector<unsigned char> EncodeToneOgg(long rate, const std::vector<double>& channelFrequencies, double seconds,
                                         float amplitude);
