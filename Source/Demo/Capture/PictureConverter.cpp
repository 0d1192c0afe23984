#include "Demo/Capture/PictureConverter.h"

#include "Framework/FrameworkEx.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

PictureConverter::PictureConverter(int width, int height) : height(height)
{
    context = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P,
                             SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!context)
        throw FrameworkEx("[PictureConverter] no conversion from BGRA to 4:2:0 at " + std::to_string(width) + "x" +
                          std::to_string(height));
    sws_setColorspaceDetails(context, sws_getCoefficients(SWS_CS_ITU709), 1, sws_getCoefficients(SWS_CS_ITU709), 0, 0,
                             1 << 16, 1 << 16);
}

PictureConverter::~PictureConverter()
{
    sws_freeContext(context);
}

void PictureConverter::Convert(const uint8_t* bgra, size_t rowBytes, AVFrame& frame) const
{
    const uint8_t* source[1] = {bgra};
    const int sourceStride[1] = {static_cast<int>(rowBytes)};
    sws_scale(context, source, sourceStride, 0, height, frame.data, frame.linesize);
}
