#include "Platform/D3DX/MipChain.h"

#include <algorithm>
#include <utility>

namespace {

// One source texel under a destination texel, with how much of it is covered.
struct Tap {
    uint32_t source;
    uint32_t weight;
};

// Along one axis, destination texel d covers source texels [d * from / to, (d + 1) * from / to).
// Measured in units of 1/to of a source texel the bounds are whole numbers, and the weights of
// one destination texel add up to from.
std::vector<std::vector<Tap>> AxisTaps(uint32_t from, uint32_t to)
{
    std::vector<std::vector<Tap>> taps(to);
    for (uint32_t d = 0; d < to; ++d) {
        const uint64_t begin = uint64_t(d) * from, end = uint64_t(d + 1) * from;
        for (uint64_t s = begin / to; s * to < end; ++s) {
            const uint64_t overlap = std::min(end, (s + 1) * to) - std::max(begin, s * to);
            taps[d].push_back({static_cast<uint32_t>(s), static_cast<uint32_t>(overlap)});
        }
    }
    return taps;
}

// Both sides even: every destination texel covers exactly a 2 x 2 block, the weights are equal and
// the area-weighted average comes to (sum + 2) / 4, with none of the general path's bookkeeping.
// Most of a large texture's chain is made here.
void HalveEvenImage(const CpuImage& image, CpuImage& half)
{
    const size_t rowBytes = size_t(image.width) * CpuImage::BytesPerTexel;
    for (uint32_t y = 0; y < half.height; ++y) {
        const uint8_t* top = image.texels.data() + size_t(2 * y) * rowBytes;
        const uint8_t* bottom = top + rowBytes;
        uint8_t* out = half.Texel(0, y);
        for (uint32_t x = 0; x < half.width; ++x, top += 8, bottom += 8, out += 4)
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<uint8_t>((top[c] + top[c + 4] + bottom[c] + bottom[c + 4] + 2) >> 2);
    }
}

} // namespace

uint32_t MipLevelCount(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    for (uint32_t side = std::max(width, height); side > 1; side /= 2)
        ++levels;
    return levels;
}

CpuImage HalveImage(const CpuImage& image)
{
    if (image.width == 0 || image.height == 0)
        return {};
    CpuImage half;
    half.width = std::max(image.width / 2, 1u);
    half.height = std::max(image.height / 2, 1u);
    half.texels.resize(size_t(half.width) * half.height * CpuImage::BytesPerTexel);
    if (image.width % 2 == 0 && image.height % 2 == 0) {
        HalveEvenImage(image, half);
        return half;
    }

    const auto columns = AxisTaps(image.width, half.width);
    const auto rows = AxisTaps(image.height, half.height);
    const uint64_t total = uint64_t(image.width) * image.height; // the weights of one texel add up to this
    for (uint32_t y = 0; y < half.height; ++y) {
        for (uint32_t x = 0; x < half.width; ++x) {
            uint64_t sum[4] = {};
            for (const Tap& row : rows[y]) {
                for (const Tap& column : columns[x]) {
                    const uint64_t weight = uint64_t(row.weight) * column.weight;
                    const uint8_t* texel = image.Texel(column.source, row.source);
                    for (int c = 0; c < 4; ++c)
                        sum[c] += weight * texel[c];
                }
            }
            uint8_t* out = half.Texel(x, y);
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
        }
    }
    return half;
}

std::vector<CpuImage> BuildMipChain(CpuImage image)
{
    std::vector<CpuImage> levels;
    levels.reserve(MipLevelCount(image.width, image.height));
    levels.push_back(std::move(image));
    while (levels.back().width > 1 || levels.back().height > 1)
        levels.push_back(HalveImage(levels.back()));
    return levels;
}
