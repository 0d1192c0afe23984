// A video file read back through libavformat and libavcodec, for the capture tests: its streams,
// every decoded picture as packed 4:2:0 planes and the decoded sound as interleaved stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedVideo {
    int width = 0;
    int height = 0;
    double seconds = 0.0; // the file's duration
    int fpsNumerator = 0;
    int fpsDenominator = 1;
    bool bt709 = false;   // matrix, primaries and transfer all tagged BT.709
    bool yuv420 = false;
    std::vector<std::vector<uint8_t>> pictures; // Y, then U, then V, rows packed
    int soundStreams = 0;
    int soundRate = 0;
    std::vector<float> sound; // interleaved stereo
};

// Throws std::runtime_error naming the file when it cannot be read.
DecodedVideo ReadVideo(const std::string& path);

// The planes a 4:2:0 encoder makes of a BGRA picture with the capture's own converter, packed as
// ReadVideo packs decoded pictures.
std::vector<uint8_t> ConvertedPlanes(const uint8_t* bgra, int width, int height);
