#include "Platform/D3DX/detail/PngDecoder.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t at;
    char reason[200];
};

void ReadBytes(png_structp png, png_bytep out, size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "the data ends within the image");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void Fail(png_structp png, png_const_charp reason)
{
    auto* source = static_cast<Source*>(png_get_error_ptr(png));
    std::snprintf(source->reason, sizeof source->reason, "%s", reason);
    png_longjmp(png, 1);
}

// Warnings concern ancillary chunks (text, colour profiles), which change no texel.
void Warn(png_structp, png_const_charp) {}

// libpng leaves by longjmp on any fault, so nothing here may need a destructor.
bool ReadRows(png_structp png, png_infop info, const ImageHeader& header, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    if (png_get_image_width(png, info) != header.width || png_get_image_height(png, info) != header.height)
        png_error(png, "the image's size changed while decoding");
    png_set_expand(png); // palettes and grey below 8 bits to 8-bit samples, transparency to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(header.width) * CpuImage::BytesPerTexel)
        png_error(png, "the rows do not come out as four bytes a texel");
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

class ReadStructs {
public:
    explicit ReadStructs(Source& source)
        : png(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, Fail, Warn)),
          info(png ? png_create_info_struct(png) : nullptr)
    {
        if (!png || !info)
            throw std::bad_alloc();
        png_set_read_fn(png, &source, ReadBytes);
    }
    ~ReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;

    png_structp png;
    png_infop info;
};

} // namespace

CpuImage DecodePng(const uint8_t* data, size_t size, const ImageHeader& header)
{
    CpuImage image;
    image.width = header.width;
    image.height = header.height;
    image.texels.resize(size_t(image.width) * image.height * CpuImage::BytesPerTexel);
    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = image.Texel(0, y);

    Source source{data, size, 0, {}};
    ReadStructs structs(source);
    if (!ReadRows(structs.png, structs.info, header, rows.data()))
        throw D3DXDataError(std::string("cannot decode the PNG image: ") + source.reason);
    return image;
}
