#include "Platform/D3DX/TextureLevels.h"

#include "Platform/D3DX/D3DXFilter.h"
#include "Platform/D3DX/ImageDecoder.h"
#include "Platform/D3DX/MipChain.h"

#include <utility>

std::vector<CpuImage> LoadTextureLevels(const void* data, size_t size, uint32_t mipFilter)
{
    CpuImage image = DecodeImage(data, size);
    if (IsFilterNone(mipFilter)) {
        std::vector<CpuImage> levels;
        levels.push_back(std::move(image));
        return levels;
    }
    return BuildMipChain(std::move(image));
}

std::array<std::vector<CpuImage>, CubeFaceCount> LoadCubeTextureLevels(const void* data, size_t size)
{
    std::array<CpuImage, CubeFaceCount> faces = SplitCubeFaces(DecodeImage(data, size));
    std::array<std::vector<CpuImage>, CubeFaceCount> levels;
    for (unsigned face = 0; face < CubeFaceCount; ++face)
        levels[face] = BuildMipChain(std::move(faces[face]));
    return levels;
}
