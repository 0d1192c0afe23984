// JPEG files decoded with libjpeg-turbo into B, G, R, A rows (grey widened, alpha 255). Data that
// the library would only warn about (a cut-off or corrupt scan it would pad) is refused, and so is
// a progressive file of more scans than any encoder writes, which costs seconds to decode.
#pragma once

#include "Platform/D3DX/CpuImage.h"
#include "Platform/D3DX/detail/ImageHeader.h"

// header is what ReadImageHeader found in the same bytes. Throws D3DXDataError with the library's
// reason when the data is broken, cut off or disagrees with the header.
CpuImage DecodeJpeg(const uint8_t* data, size_t size, const ImageHeader& header);
