// The Recorder's answers about contents: pixels, depths and bytes of the objects it stores.
#include "Platform/Gfx/Recorder/Recorder.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/Recorder/detail/MemoryData.h"
#include "Platform/Gfx/Recorder/detail/PixelCodec.h"

namespace {

const ImageBytes& StoredImage(const IDirect3DSurface9& surface, const char* method)
{
    const SurfaceData* data = surface.Backend().Find<SurfaceData>();
    if (!data) {
        throw std::invalid_argument(std::string("[Recorder::") + method + "]: the surface is not stored by a Recorder");
    }
    return data->image;
}

const BYTE* StoredPixel(const IDirect3DSurface9& surface, UINT x, UINT y, const char* method)
{
    const ImageBytes& image = StoredImage(surface, method);
    if (x >= image.width || y >= image.height) {
        throw std::invalid_argument(std::string("[Recorder::") + method + "]: (" + std::to_string(x) + ", " +
                                    std::to_string(y) + ") is outside the " + std::to_string(image.width) + " x " +
                                    std::to_string(image.height) + " surface");
    }
    return image.At(x, y);
}

void RequireFormat(bool wanted, const char* method, const char* what)
{
    if (!wanted) {
        throw std::invalid_argument(std::string("[Recorder::") + method + "]: the surface holds no " + what);
    }
}

std::vector<BYTE> PackedRows(const ImageBytes& image, UINT slices)
{
    const size_t rowBytes = size_t{image.width} * image.bytesPerPixel;
    std::vector<BYTE> bytes(rowBytes * image.height * slices);
    BYTE* out = bytes.data();
    for (UINT z = 0; z < slices; ++z) {
        for (UINT y = 0; y < image.height; ++y) {
            std::memcpy(out, image.At(0, y, z), rowBytes);
            out += rowBytes;
        }
    }
    return bytes;
}

template <class Buffer>
std::vector<BYTE> StoredBuffer(const Buffer& buffer)
{
    const BufferData* data = buffer.Backend().template Find<BufferData>();
    if (!data) {
        throw std::invalid_argument("[Recorder::BufferBytes]: the buffer is not stored by a Recorder");
    }
    return data->bytes;
}

} // namespace

Rgba Recorder::Pixel(const IDirect3DSurface9& surface, UINT x, UINT y) const
{
    const BYTE* pixel = StoredPixel(surface, x, y, "Pixel");
    RequireFormat(IsColourFormat(surface.Desc().Format), "Pixel", "colour");
    return DecodePixel(surface.Desc().Format, pixel);
}

float Recorder::Depth(const IDirect3DSurface9& surface, UINT x, UINT y) const
{
    const BYTE* pixel = StoredPixel(surface, x, y, "Depth");
    RequireFormat(IsDepthFormat(surface.Desc().Format), "Depth", "depth");
    if (surface.Desc().Format == D3DFMT_D16) {
        uint16_t depth;
        std::memcpy(&depth, pixel, 2);
        return depth / 65535.0f;
    }
    uint32_t packed;
    std::memcpy(&packed, pixel, 4);
    return static_cast<float>(packed >> 8) / 16777215.0f;
}

DWORD Recorder::Stencil(const IDirect3DSurface9& surface, UINT x, UINT y) const
{
    const BYTE* pixel = StoredPixel(surface, x, y, "Stencil");
    RequireFormat(surface.Desc().Format == D3DFMT_D24S8, "Stencil", "stencil");
    return pixel[0];
}

std::vector<BYTE> Recorder::SurfaceBytes(const IDirect3DSurface9& surface) const
{
    return PackedRows(StoredImage(surface, "SurfaceBytes"), 1);
}

std::vector<BYTE> Recorder::VolumeBytes(const IDirect3DVolume9& volume) const
{
    const VolumeData* data = volume.Backend().Find<VolumeData>();
    if (!data) {
        throw std::invalid_argument("[Recorder::VolumeBytes]: the volume is not stored by a Recorder");
    }
    return PackedRows(data->image, data->image.depth);
}

std::vector<BYTE> Recorder::BufferBytes(const IDirect3DVertexBuffer9& buffer) const
{
    return StoredBuffer(buffer);
}

std::vector<BYTE> Recorder::BufferBytes(const IDirect3DIndexBuffer9& buffer) const
{
    return StoredBuffer(buffer);
}
