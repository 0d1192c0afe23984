#include "Platform/D3DX/CubeFaces.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <algorithm>
#include <string>

std::array<CpuImage, CubeFaceCount> SplitCubeFaces(const CpuImage& strip)
{
    const uint32_t edge = strip.width;
    if (edge == 0 || strip.height != uint64_t(edge) * CubeFaceCount)
        throw D3DXDataError("a cube texture's image must be N wide and 6N high (faces +X, -X, +Y, -Y, +Z, -Z "
                            "from top to bottom); this one is " +
                            std::to_string(strip.width) + "x" + std::to_string(strip.height));

    std::array<CpuImage, CubeFaceCount> faces;
    const size_t faceBytes = size_t(edge) * edge * CpuImage::BytesPerTexel;
    for (unsigned face = 0; face < CubeFaceCount; ++face) {
        faces[face].width = edge;
        faces[face].height = edge;
        const auto first = strip.texels.begin() + static_cast<std::ptrdiff_t>(face * faceBytes);
        faces[face].texels.assign(first, first + static_cast<std::ptrdiff_t>(faceBytes));
    }
    return faces;
}
