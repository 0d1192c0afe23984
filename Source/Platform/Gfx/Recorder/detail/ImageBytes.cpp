#include "Platform/Gfx/Recorder/detail/ImageBytes.h"

#include <cstddef>

#include "Platform/Gfx/FormatInfo.h"

namespace {

UINT AlignUp(UINT value, UINT alignment)
{
    return alignment <= 1 ? value : (value + alignment - 1) / alignment * alignment;
}

} // namespace

ImageBytes::ImageBytes(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT alignment)
    : format(format),
      width(width),
      height(height),
      depth(depth),
      bytesPerPixel(DescribeFormat(format)->bytesPerPixel),
      rowPitch(AlignUp(width * bytesPerPixel, alignment)),
      slicePitch(AlignUp(rowPitch * height, alignment)),
      bytes(static_cast<std::size_t>(slicePitch) * depth)
{
}
