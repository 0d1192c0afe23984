// Image files decoded into a CpuImage: PNG (libpng) and JPEG (libjpeg-turbo), the kinds textures
// may be. The header is read and checked first (kind, size, sample depth), so a decoder never
// sees a file of another kind or size. Grey is widened to R = G = B, missing alpha is 255, and
// 16-bit PNG samples are narrowed to 8 bits.
#pragma once

#include "Platform/D3DX/CpuImage.h"

#include <cstddef>
#include <cstdint>

// The largest width or height accepted; larger images are refused before they are decoded, so
// that a small file cannot ask for gigabytes.
constexpr uint32_t MaxImageSide = 8192;

// Throws D3DXDataError saying what is wrong: no PNG or JPEG, a broken header or image data, or a
// side beyond maxSide.
CpuImage DecodeImage(const void* data, size_t size, uint32_t maxSide = MaxImageSide);
