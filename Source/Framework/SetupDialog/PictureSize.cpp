#include "Framework/SetupDialog/PictureSize.h"

#include <cmath>

namespace {

// The 16:9 height of a width, truncated twice as the dialog always has (x 9, then / 16).
unsigned SixteenNinthsHeight(double width)
{
    return unsigned(std::trunc(std::trunc(width * 9.0) * 0.0625));
}

} // namespace

void FitPictureToBackBuffer(DisplaySettings& settings)
{
    settings.renderWidth = settings.backBufferWidth;
    settings.renderHeight = SixteenNinthsHeight(double(settings.backBufferWidth));
    if (!settings.fullscreen)
        settings.backBufferHeight = settings.renderHeight;
    const float factor = settings.fullscreen
                             ? settings.monitorAspect / (float(settings.backBufferWidth) / float(settings.backBufferHeight))
                             : 1.0f;
    // The width is scaled in single precision, as the factor is, before the double-precision x 9.
    settings.renderHeight = SixteenNinthsHeight(double(float(settings.renderWidth) * factor));
}
