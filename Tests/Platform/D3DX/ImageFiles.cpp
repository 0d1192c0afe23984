#include "ImageFiles.h"

#include "Support/ArchiveFiles.h"

#include <stb_image_write.h>

#include <stdexcept>
#include <utility>

namespace {

void Append(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

Bytes Checked(int written, Bytes bytes)
{
    if (!written || bytes.empty())
        throw std::runtime_error("stb_image_write could not encode the test image");
    return bytes;
}

} // namespace

Bytes EncodePng(int width, int height, int channels, const Bytes& pixels)
{
    constexpr int ColourTypes[] = {0, 0, 4, 2, 6}; // by channel count
    return EncodePngRows(unsigned(width), unsigned(height), ColourTypes[channels], 8, pixels);
}

Bytes EncodeBmp(int width, int height, int channels, const Bytes& pixels)
{
    Bytes out;
    const int written = stbi_write_bmp_to_func(Append, &out, width, height, channels, pixels.data());
    return Checked(written, std::move(out));
}

Bytes EncodeTga(int width, int height, int channels, const Bytes& pixels)
{
    Bytes out;
    const int written = stbi_write_tga_to_func(Append, &out, width, height, channels, pixels.data());
    return Checked(written, std::move(out));
}

Bytes EncodeJpeg(int width, int height, int channels, const Bytes& pixels)
{
    Bytes out;
    const int written = stbi_write_jpg_to_func(Append, &out, width, height, channels, pixels.data(), 100);
    return Checked(written, std::move(out));
}

Bytes SolidRgba(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    Bytes pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {r, g, b, a});
    return pixels;
}
