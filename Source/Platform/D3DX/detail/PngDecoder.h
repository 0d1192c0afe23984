// PNG files decoded with libpng into B, G, R, A rows: palettes and grey expanded, missing alpha
// 255, 16-bit samples narrowed to their high byte, interlacing undone, gamma left as stored.
#pragma once

#include "Platform/D3DX/CpuImage.h"
#include "Platform/D3DX/detail/ImageHeader.h"

// header is what ReadImageHeader found in the same bytes. Throws D3DXDataError with libpng's
// reason when the data is broken, cut off or disagrees with the header.
CpuImage DecodePng(const uint8_t* data, size_t size, const ImageHeader& header);
