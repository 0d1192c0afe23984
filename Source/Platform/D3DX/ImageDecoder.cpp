#include "Platform/D3DX/ImageDecoder.h"

#include "Platform/D3DX/D3DXDataError.h"
#include "Platform/D3DX/detail/ImageHeader.h"
#include "Platform/D3DX/detail/JpegDecoder.h"
#include "Platform/D3DX/detail/PngDecoder.h"

#include <string>

CpuImage DecodeImage(const void* data, size_t size, uint32_t maxSide)
{
    if (!data || size == 0)
        throw D3DXDataError("no image data");
    const auto* bytes = static_cast<const uint8_t*>(data);
    const ImageHeader header = ReadImageHeader(bytes, size);
    if (header.width > maxSide || header.height > maxSide)
        throw D3DXDataError("the image is " + std::to_string(header.width) + "x" + std::to_string(header.height) +
                            "; no side may exceed " + std::to_string(maxSide));
    return header.kind == ImageKind::Png ? DecodePng(bytes, size, header) : DecodeJpeg(bytes, size, header);
}
