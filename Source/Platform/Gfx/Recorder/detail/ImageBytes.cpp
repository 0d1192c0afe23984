#include "Platform/Gfx/Recorder/detail/ImageBytes.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>

#include "Platform/Gfx/FormatInfo.h"

namespace {

// Pitches are INTs in the locked records; an image whose pitches do not fit is out of memory.
UINT PitchFor(uint64_t bytes, UINT alignment)
{
    const uint64_t aligned = alignment <= 1 ? bytes : (bytes + alignment - 1) / alignment * alignment;
    if (aligned > INT_MAX) {
        throw std::bad_alloc();
    }
    return static_cast<UINT>(aligned);
}

} // namespace

ImageBytes::ImageBytes(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT alignment)
    : format(format),
      width(width),
      height(height),
      depth(depth),
      bytesPerPixel(DescribeFormat(format)->bytesPerPixel),
      rowPitch(PitchFor(uint64_t{width} * bytesPerPixel, alignment)),
      slicePitch(PitchFor(uint64_t{rowPitch} * height, alignment)),
      bytes(static_cast<std::size_t>(slicePitch) * depth)
{
}
