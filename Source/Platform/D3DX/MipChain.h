// Mip chains by box filtering. Each level is half the one above, rounded down, never below 1
// (a 5x3 image gives 5x3, 2x1, 1x1). A texel of the smaller level is the area-weighted average of
// the texels it covers, channel by channel: exactly the 2x2 average for even sizes, and for odd
// ones the border texels count in part, so that nothing of the image is dropped.
#pragma once

#include "Platform/D3DX/CpuImage.h"

#include <cstdint>
#include <vector>

// The number of levels down to 1x1: floor(log2(max(width, height))) + 1.
uint32_t MipLevelCount(uint32_t width, uint32_t height);

CpuImage HalveImage(const CpuImage& image);

// The image as level 0 followed by every smaller level down to 1x1.
std::vector<CpuImage> BuildMipChain(CpuImage image);
