#include "Framework/PixelSize.h"

#include <charconv>
#include <optional>

namespace {

std::optional<unsigned> Side(const std::string& text, unsigned least, unsigned most)
{
    unsigned value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < least || value > most)
        return std::nullopt;
    return value;
}

} // namespace

std::string PixelSizeLimits::Text() const
{
    return std::to_string(least) + "x" + std::to_string(least) + " to " + std::to_string(widest) + "x" +
           std::to_string(tallest);
}

PixelSize ParsePixelSize(const std::string& text, const PixelSizeLimits& limits)
{
    const size_t x = text.find_first_of("xX");
    const std::optional<unsigned> width =
        x == std::string::npos ? std::nullopt : Side(text.substr(0, x), limits.least, limits.widest);
    const std::optional<unsigned> height =
        x == std::string::npos ? std::nullopt : Side(text.substr(x + 1), limits.least, limits.tallest);
    if (!width || !height)
        throw PixelSizeError("expected WxH from " + limits.Text());
    return {*width, *height};
}
