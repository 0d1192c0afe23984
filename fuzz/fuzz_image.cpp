// Image decoding and the mip chain. Whatever the bytes, decoding either refuses them with
// D3DXDataError or gives an image within the size limit; its mip chain halves down to 1x1, and
// box filtering never leaves the range of the texels it averages.
#include "FuzzCheck.h"
#include "Platform/D3DX/CubeFaces.h"
#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/ImageDecoder.h"
#include "Platform/D3DX/MipChain.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr size_t MaxInput = 64 * 1024;
// Smaller than the loader's 8192 so that each input decodes in milliseconds; the limit itself is
// the same code with another number.
constexpr uint32_t MaxSide = 1024;

struct Range {
    std::array<uint8_t, 4> low{255, 255, 255, 255}, high{0, 0, 0, 0};
};

Range RangeOf(const CpuImage& image)
{
    Range range;
    for (size_t i = 0; i < image.texels.size(); ++i) {
        range.low[i % 4] = std::min(range.low[i % 4], image.texels[i]);
        range.high[i % 4] = std::max(range.high[i % 4], image.texels[i]);
    }
    return range;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    CpuImage image;
    try {
        image = DecodeImage(data, size, MaxSide);
    } catch (const D3DXDataError&) {
        return 0;
    }
    FuzzCheck(image.width >= 1 && image.width <= MaxSide && image.height >= 1 && image.height <= MaxSide,
              "a decoded image has sides from 1 to the limit");
    FuzzCheck(image.texels.size() == size_t(image.width) * image.height * 4, "four bytes a texel, no padding");

    if (image.height == 6 * image.width) {
        const auto faces = SplitCubeFaces(image);
        FuzzCheck(faces[5].width == image.width && faces[5].texels.size() == size_t(image.width) * image.width * 4,
                  "a six-face strip splits into six squares");
    }

    const Range range = RangeOf(image);
    const std::vector<CpuImage> chain = BuildMipChain(std::move(image));
    FuzzCheck(chain.size() == MipLevelCount(chain[0].width, chain[0].height), "the chain has every level");
    FuzzCheck(chain.back().width == 1 && chain.back().height == 1, "the chain ends at 1x1");
    for (size_t level = 1; level < chain.size(); ++level) {
        const CpuImage& above = chain[level - 1];
        const CpuImage& here = chain[level];
        FuzzCheck(here.width == std::max(above.width / 2, 1u) && here.height == std::max(above.height / 2, 1u),
                  "each level halves the one above, rounding down, never below 1");
        FuzzCheck(here.texels.size() == size_t(here.width) * here.height * 4, "each level holds its texels");
        const Range levelRange = RangeOf(here);
        for (int c = 0; c < 4; ++c)
            FuzzCheck(levelRange.low[c] >= range.low[c] && levelRange.high[c] <= range.high[c],
                      "filtering stays within the range of the image");
    }
    return 0;
}
