#include "Platform/Gfx/Recorder/detail/SurfaceFill.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Platform/Gfx/Recorder/detail/PixelCodec.h"

RECT Intersect(const RECT& a, const RECT& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

void FillColour(ImageBytes& image, const RECT& area, const Rgba& colour)
{
    BYTE pixel[16];
    EncodePixel(image.format, colour, pixel);
    for (long y = area.top; y < area.bottom; ++y) {
        for (long x = area.left; x < area.right; ++x) {
            std::memcpy(image.At(x, y), pixel, image.bytesPerPixel);
        }
    }
}

void FillDepthStencil(ImageBytes& image, const RECT& area, DWORD flags, float z, DWORD stencil)
{
    for (long y = area.top; y < area.bottom; ++y) {
        for (long x = area.left; x < area.right; ++x) {
            BYTE* pixel = image.At(x, y);
            if (image.format == D3DFMT_D16) {
                const auto depth = static_cast<uint16_t>(std::lround(z * 65535.0f));
                std::memcpy(pixel, &depth, 2);
                continue;
            }
            // D24S8 and D24X8: depth in the upper 24 bits, stencil in the lowest byte.
            uint32_t packed;
            std::memcpy(&packed, pixel, 4);
            if (flags & D3DCLEAR_ZBUFFER) {
                packed = (static_cast<uint32_t>(std::llround(double{z} * 16777215.0)) << 8) | (packed & 0xFFu);
            }
            if ((flags & D3DCLEAR_STENCIL) && image.format == D3DFMT_D24S8) {
                packed = (packed & ~0xFFu) | (stencil & 0xFFu);
            }
            std::memcpy(pixel, &packed, 4);
        }
    }
}
