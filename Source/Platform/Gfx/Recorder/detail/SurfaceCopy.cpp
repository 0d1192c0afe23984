#include "Platform/Gfx/Recorder/detail/SurfaceCopy.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Platform/Gfx/Recorder/detail/PixelCodec.h"

namespace {

long Width(const RECT& rect)
{
    return rect.right - rect.left;
}

long Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

void CopyRows(const ImageBytes& from, const RECT& fromRect, ImageBytes& to, const RECT& toRect)
{
    const size_t rowBytes = static_cast<size_t>(Width(fromRect)) * from.bytesPerPixel;
    for (long row = 0; row < Height(fromRect); ++row) {
        std::memcpy(to.At(toRect.left, toRect.top + row), from.At(fromRect.left, fromRect.top + row), rowBytes);
    }
}

// The source coordinate under the centre of destination pixel i along one axis.
double SourceCentre(long i, long fromSize, long toSize)
{
    return (i + 0.5) * static_cast<double>(fromSize) / static_cast<double>(toSize);
}

Rgba Sample(const ImageBytes& image, long x, long y)
{
    return DecodePixel(image.format, image.At(x, y));
}

Rgba Bilinear(const ImageBytes& from, const RECT& rect, double x, double y)
{
    const double left = std::floor(x - 0.5);
    const double top = std::floor(y - 0.5);
    const float fx = static_cast<float>(x - 0.5 - left);
    const float fy = static_cast<float>(y - 0.5 - top);
    const auto clampX = [&](double v) { return std::clamp(static_cast<long>(v), 0L, Width(rect) - 1) + rect.left; };
    const auto clampY = [&](double v) { return std::clamp(static_cast<long>(v), 0L, Height(rect) - 1) + rect.top; };
    const Rgba a = Sample(from, clampX(left), clampY(top));
    const Rgba b = Sample(from, clampX(left + 1), clampY(top));
    const Rgba c = Sample(from, clampX(left), clampY(top + 1));
    const Rgba d = Sample(from, clampX(left + 1), clampY(top + 1));
    Rgba out;
    for (size_t i = 0; i < out.size(); ++i) {
        const float upper = a[i] + (b[i] - a[i]) * fx;
        const float lower = c[i] + (d[i] - c[i]) * fx;
        out[i] = upper + (lower - upper) * fy;
    }
    return out;
}

} // namespace

void CopyRect(const ImageBytes& from, const RECT& fromRect, ImageBytes& to, const RECT& toRect,
              D3DTEXTUREFILTERTYPE filter)
{
    const bool sameSize = Width(fromRect) == Width(toRect) && Height(fromRect) == Height(toRect);
    if (sameSize && from.format == to.format) {
        CopyRows(from, fromRect, to, toRect);
        return;
    }
    for (long y = 0; y < Height(toRect); ++y) {
        const double sourceY = SourceCentre(y, Height(fromRect), Height(toRect));
        for (long x = 0; x < Width(toRect); ++x) {
            const double sourceX = SourceCentre(x, Width(fromRect), Width(toRect));
            BYTE* pixel = to.At(toRect.left + x, toRect.top + y);
            if (filter == D3DTEXF_LINEAR && !sameSize) {
                EncodePixel(to.format, Bilinear(from, fromRect, sourceX, sourceY), pixel);
                continue;
            }
            const long nearestX = fromRect.left + static_cast<long>(sourceX);
            const long nearestY = fromRect.top + static_cast<long>(sourceY);
            if (from.format == to.format) {
                std::memcpy(pixel, from.At(nearestX, nearestY), from.bytesPerPixel);
            } else {
                EncodePixel(to.format, Sample(from, nearestX, nearestY), pixel);
            }
        }
    }
}
