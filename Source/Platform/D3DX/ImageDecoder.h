// Image files (PNG, JPEG, BMP, TGA, GIF's first frame, PSD, HDR, PIC, PNM: what stb_image reads)
// decoded into a CpuImage. Anything with fewer channels is widened (grey to R = G = B, missing
// alpha to 255); 16-bit and HDR images are narrowed to 8 bits per channel.
#pragma once

#include "Platform/D3DX/CpuImage.h"

#include <cstddef>
#include <cstdint>

// The largest width or height accepted; larger images are refused before they are decoded, so
// that a small file cannot ask for gigabytes.
constexpr uint32_t MaxImageSide = 8192;

// Throws D3DXDataError when the data is no image stb_image can read or a side exceeds maxSide.
CpuImage DecodeImage(const void* data, size_t size, uint32_t maxSide = MaxImageSide);
