#include "Platform/D3DX/ImageDecoder.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <stb_image.h>

#include <climits>
#include <memory>
#include <string>

namespace {

struct StbiFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

std::string Reason()
{
    const char* reason = stbi_failure_reason();
    return reason ? reason : "unknown error";
}

} // namespace

CpuImage DecodeImage(const void* data, size_t size, uint32_t maxSide)
{
    if (!data || size == 0)
        throw D3DXDataError("no image data");
    if (size > size_t(INT_MAX))
        throw D3DXDataError("the image data is larger than 2 GiB");

    const auto* bytes = static_cast<const stbi_uc*>(data);
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels))
        throw D3DXDataError("cannot decode the image: " + Reason());
    const auto tooLarge = [&](int w, int h) { return w <= 0 || h <= 0 || uint32_t(w) > maxSide || uint32_t(h) > maxSide; };
    if (tooLarge(width, height))
        throw D3DXDataError("the image is " + std::to_string(width) + "x" + std::to_string(height) +
                            "; no side may exceed " + std::to_string(maxSide));

    std::unique_ptr<stbi_uc, StbiFree> rgba(stbi_load_from_memory(bytes, length, &width, &height, &channels, 4));
    if (!rgba)
        throw D3DXDataError("cannot decode the image: " + Reason());
    if (tooLarge(width, height)) // the header said otherwise; trust neither beyond the limit
        throw D3DXDataError("the image's size changed while decoding");

    CpuImage image;
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    image.texels.resize(size_t(image.width) * image.height * CpuImage::BytesPerTexel);
    const stbi_uc* source = rgba.get();
    for (size_t i = 0; i < image.texels.size(); i += 4) { // R, G, B, A becomes B, G, R, A
        image.texels[i] = source[i + 2];
        image.texels[i + 1] = source[i + 1];
        image.texels[i + 2] = source[i];
        image.texels[i + 3] = source[i + 3];
    }
    return image;
}
