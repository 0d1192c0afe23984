// BGRA pictures (full-range RGB, as read back) into the video's 4:2:0 YUV: BT.709 matrix, limited
// range, chroma averaged over each 2 x 2 block.
#pragma once

#include <cstdint>
#include <cstddef>

struct AVFrame;
struct SwsContext;

class PictureConverter {
public:
    // Throws FrameworkEx when libswscale has no such conversion.
    PictureConverter(int width, int height);
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // Into a YUV420P frame of the same size.
    void Convert(const uint8_t* bgra, size_t rowBytes, AVFrame& frame) const;

private:
    int height;
    SwsContext* context = nullptr;
};
