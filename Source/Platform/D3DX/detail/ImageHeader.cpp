#include "Platform/D3DX/detail/ImageHeader.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <cstring>
#include <string>

namespace {

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t BigEndian16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

bool StartsWith(const uint8_t* data, size_t size, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    return size >= length && std::memcmp(data, prefix, length) == 0;
}

// The kinds other decoders read, named so that the message says what the file is.
const char* OtherKind(const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 'P' && data[1] >= '1' && data[1] <= '7')
        return "a PNM (PBM, PGM, PPM or PAM) image";
    if (StartsWith(data, size, "BM"))
        return "a BMP image";
    if (StartsWith(data, size, "GIF8"))
        return "a GIF image";
    if (StartsWith(data, size, "8BPS"))
        return "a PSD image";
    if (StartsWith(data, size, "#?RADIANCE") || StartsWith(data, size, "#?RGBE"))
        return "an HDR image";
    if (StartsWith(data, size, "DDS "))
        return "a DDS image";
    return nullptr;
}

bool LegalPngDepth(uint32_t colourType, uint32_t depth)
{
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; // grey
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;                // palette
    case 2:                                                                             // RGB
    case 4:                                                                             // grey, alpha
    case 6: return depth == 8 || depth == 16;                                           // RGBA
    default: return false;
    }
}

ImageHeader PngHeader(const uint8_t* data, size_t size)
{
    // The signature, then IHDR: length 13, type, width, height, depth, colour type, compression,
    // filter, interlace (and its CRC, which the decoder checks).
    if (size < 8 + 8 + 13 + 4)
        throw D3DXDataError("the PNG image is cut off within its header");
    const uint8_t* ihdr = data + 8;
    if (BigEndian32(ihdr) != 13 || std::memcmp(ihdr + 4, "IHDR", 4) != 0)
        throw D3DXDataError("the PNG image does not start with its header chunk (IHDR)");
    const uint8_t* fields = ihdr + 8;
    const ImageHeader header{ImageKind::Png, BigEndian32(fields), BigEndian32(fields + 4), fields[8]};
    const uint32_t colourType = fields[9];
    if (header.width == 0 || header.height == 0 || header.width > 0x7fffffffu || header.height > 0x7fffffffu)
        throw D3DXDataError("the PNG image claims a size of " + std::to_string(header.width) + "x" +
                            std::to_string(header.height));
    if (!LegalPngDepth(colourType, header.bitDepth))
        throw D3DXDataError("the PNG image claims " + std::to_string(header.bitDepth) +
                            " bits per sample with colour type " + std::to_string(colourType) +
                            ", which PNG does not allow");
    if (fields[10] != 0 || fields[11] != 0 || fields[12] > 1)
        throw D3DXDataError("the PNG image names an unknown compression, filter or interlace method");
    return header;
}

ImageHeader JpegHeader(const uint8_t* data, size_t size)
{
    // Walks the marker segments after SOI up to the frame header (SOF).
    size_t i = 2;
    while (true) {
        while (i < size && data[i] != 0xff) // stray bytes between segments are tolerated, as decoders do
            ++i;
        while (i < size && data[i] == 0xff) // fill bytes
            ++i;
        if (i >= size)
            throw D3DXDataError("the JPEG image ends before its frame header");
        const uint8_t marker = data[i++];
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8))
            continue; // markers without a segment
        if (marker == 0xd9 || marker == 0xda)
            throw D3DXDataError("the JPEG image has no frame header before its scan");
        if (i + 2 > size)
            throw D3DXDataError("the JPEG image ends before its frame header");
        const uint32_t length = BigEndian16(data + i);
        if (length < 2 || i + length > size)
            throw D3DXDataError("the JPEG image has a marker segment that runs past its end");
        const bool frame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (!frame) {
            i += length;
            continue;
        }
        if (marker > 0xc2)
            throw D3DXDataError("the JPEG image is lossless, hierarchical or arithmetic-coded; only baseline, "
                                "extended and progressive Huffman-coded JPEG is accepted");
        if (length < 8)
            throw D3DXDataError("the JPEG image's frame header is cut off");
        const uint8_t* frameHeader = data + i + 2;
        const ImageHeader header{ImageKind::Jpeg, BigEndian16(frameHeader + 3), BigEndian16(frameHeader + 1),
                                 frameHeader[0]};
        const uint32_t components = frameHeader[5];
        if (header.bitDepth != 8)
            throw D3DXDataError("the JPEG image has " + std::to_string(header.bitDepth) +
                                " bits per sample; only 8 are accepted");
        if (components != 1 && components != 3)
            throw D3DXDataError("the JPEG image has " + std::to_string(components) +
                                " colour components; only grey (1) and colour (3) are accepted");
        if (header.width == 0 || header.height == 0)
            throw D3DXDataError("the JPEG image claims a size of " + std::to_string(header.width) + "x" +
                                std::to_string(header.height));
        return header;
    }
}

} // namespace

ImageHeader ReadImageHeader(const uint8_t* data, size_t size)
{
    if (size >= sizeof PngSignature && std::memcmp(data, PngSignature, sizeof PngSignature) == 0)
        return PngHeader(data, size);
    if (size >= 3 && data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff)
        return JpegHeader(data, size);
    if (const char* other = OtherKind(data, size))
        throw D3DXDataError(std::string("the file is ") + other + "; textures may be PNG or JPEG only");
    throw D3DXDataError("the file is no PNG or JPEG image (the only kinds textures may be)");
}
