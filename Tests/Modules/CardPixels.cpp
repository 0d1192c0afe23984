#include "CardPixels.h"

#include "Platform/D3DX/ImageDecoder.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// How far, in card texels, the mip levels that a picture of 640 pixels across reads (between
// the second and the third) carry the text: wholly within TextReach, and not at all beyond
// ClearReach.
constexpr double TextReach = 3.0;
constexpr double ClearReach = 8.0;

} // namespace

CpuImage DecodeCard(const std::vector<unsigned char>& png)
{
    return DecodeImage(png.data(), png.size());
}

CardPixels SortCardPixels(const CpuImage& card, const GLImage& backBuffer, const DisplaySettings& settings)
{
    const UINT top = settings.PictureTop(), pictureLeft = settings.PictureLeft();
    const double across = double(card.width) / settings.renderWidth, down = double(card.height) / settings.renderHeight;
    const auto texels = [](double from, double to, uint32_t size, double reach) {
        return std::pair{uint32_t(std::clamp(std::floor(from - reach), 0.0, double(size))),
                         uint32_t(std::clamp(std::ceil(to + reach), 0.0, double(size)))};
    };
    // The least alpha within reach of the texels under a pixel, and the most.
    const auto alphas = [&](UINT x, UINT y, double reach) {
        const auto [left, right] = texels(x * across, (x + 1) * across, card.width, reach);
        const auto [upper, lower] = texels(y * down, (y + 1) * down, card.height, reach);
        uint8_t least = 255, most = 0;
        for (uint32_t v = upper; v < lower; ++v)
            for (uint32_t u = left; u < right; ++u) {
                const uint8_t alpha = card.Texel(u, v)[3];
                least = std::min(least, alpha);
                most = std::max(most, alpha);
            }
        return std::pair{least, most};
    };
    // The box around all of the text, in card texels.
    uint32_t inkLeft = card.width, inkRight = 0, inkTop = card.height, inkBottom = 0;
    for (uint32_t v = 0; v < card.height; ++v)
        for (uint32_t u = 0; u < card.width; ++u)
            if (card.Texel(u, v)[3] != 0) {
                inkLeft = std::min(inkLeft, u);
                inkRight = std::max(inkRight, u + 1);
                inkTop = std::min(inkTop, v);
                inkBottom = std::max(inkBottom, v + 1);
            }
    CardPixels pixels;
    for (UINT y = 0; y < backBuffer.height; ++y)
        for (UINT x = 0; x < backBuffer.width; ++x) {
            const uint8_t* pixel = &backBuffer.bgra[(size_t{y} * backBuffer.width + x) * 4];
            const double brightness = (pixel[0] + pixel[1] + pixel[2]) / 3.0;
            if (y < top || y >= top + settings.renderHeight || x < pictureLeft ||
                x >= pictureLeft + settings.renderWidth) {
                pixels.clear.push_back(brightness);
                continue;
            }
            if (alphas(x - pictureLeft, y - top, TextReach).first == 255) {
                pixels.text.push_back(brightness);
                continue;
            }
            if (alphas(x - pictureLeft, y - top, ClearReach).second != 0)
                continue;
            pixels.clear.push_back(brightness);
            const double u = (x + 0.5) * across, v = (y - top + 0.5) * down;
            if (u >= inkLeft && u < inkRight && v >= inkTop && v < inkBottom)
                pixels.around.push_back(brightness);
        }
    return pixels;
}

double Mean(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

double Largest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double Least(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}
