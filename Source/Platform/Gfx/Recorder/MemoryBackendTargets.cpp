// The memory backend's targets: clears fill the stored images inside the viewport, StretchRect
// copies between them; bindings live in the front device.
#include "Platform/Gfx/Recorder/MemoryBackend.h"

#include <vector>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/Recorder.h"
#include "Platform/Gfx/Recorder/detail/MemoryData.h"
#include "Platform/Gfx/Recorder/detail/PixelCodec.h"
#include "Platform/Gfx/Recorder/detail/SurfaceCopy.h"
#include "Platform/Gfx/Recorder/detail/SurfaceFill.h"

namespace {

RECT WholeImage(const ImageBytes& image)
{
    return {0, 0, static_cast<long>(image.width), static_cast<long>(image.height)};
}

// Direct3D clears the viewport, or the parts of the rectangles inside it.
std::vector<RECT> ClearAreas(const D3DVIEWPORT9& viewport, DWORD count, const D3DRECT* rects)
{
    const RECT view{static_cast<long>(viewport.X), static_cast<long>(viewport.Y),
                    static_cast<long>(viewport.X + viewport.Width), static_cast<long>(viewport.Y + viewport.Height)};
    if (!rects) {
        return {view};
    }
    std::vector<RECT> areas;
    for (DWORD i = 0; i < count; ++i) {
        areas.push_back(Intersect(view, RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}));
    }
    return areas;
}

} // namespace

HRESULT MemoryBackend::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil)
{
    const DeviceState& state = device_->State();
    for (const RECT& area : ClearAreas(state.viewport, Count, pRects)) {
        if (Flags & D3DCLEAR_TARGET) {
            for (IDirect3DSurface9* target : state.renderTargets) {
                if (!target) {
                    continue;
                }
                ImageBytes& image = target->Backend().As<SurfaceData>().image;
                const RECT inside = Intersect(area, WholeImage(image));
                if (!IsEmpty(inside)) {
                    FillColour(image, inside, ColourFromD3DColor(Color));
                }
            }
        }
        if (Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) {
            ImageBytes& image = state.depthStencil->Backend().As<SurfaceData>().image;
            const RECT inside = Intersect(area, WholeImage(image));
            if (!IsEmpty(inside)) {
                FillDepthStencil(image, inside, Flags, Z, Stencil);
            }
        }
    }
    return D3D_OK;
}

HRESULT MemoryBackend::SetViewport(const D3DVIEWPORT9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9*)
{
    return RenderTargetIndex < Config().caps.NumSimultaneousRTs ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT MemoryBackend::SetDepthStencilSurface(IDirect3DSurface9*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                                   IDirect3DSurface9* pDestSurface, const RECT* pDestRect,
                                   D3DTEXTUREFILTERTYPE Filter)
{
    const ImageBytes& from = pSourceSurface->Backend().As<SurfaceData>().image;
    ImageBytes& to = pDestSurface->Backend().As<SurfaceData>().image;
    CopyRect(from, pSourceRect ? *pSourceRect : WholeImage(from), to, pDestRect ? *pDestRect : WholeImage(to), Filter);
    return D3D_OK;
}

HRESULT MemoryBackend::ReadRenderTarget(IDirect3DSurface9* pRenderTarget, BYTE* pBGRA)
{
    // A8R8G8B8's bytes, which hold blue first, from any colour format.
    const ImageBytes& image = pRenderTarget->Backend().As<SurfaceData>().image;
    const D3DFORMAT format = pRenderTarget->Desc().Format;
    for (UINT y = 0; y < image.height; ++y)
        for (UINT x = 0; x < image.width; ++x, pBGRA += 4)
            EncodePixel(D3DFMT_A8R8G8B8, DecodePixel(format, image.At(x, y)), pBGRA);
    return D3D_OK;
}
