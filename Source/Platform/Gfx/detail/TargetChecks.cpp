#include "Platform/Gfx/detail/TargetChecks.h"

#include <cstdint>

#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/IDirect3DSurface9.h"
#include "Platform/Gfx/detail/LockChecks.h"

namespace {

bool UnitRange(float value)
{
    return value >= 0.0f && value <= 1.0f;
}

RECT WholeSurface(const D3DSURFACE_DESC& desc)
{
    return {0, 0, static_cast<long>(desc.Width), static_cast<long>(desc.Height)};
}

bool IsRenderTarget(const D3DSURFACE_DESC& desc)
{
    return (desc.Usage & D3DUSAGE_RENDERTARGET) && IsColourFormat(desc.Format);
}

bool IsDepthStencil(const D3DSURFACE_DESC& desc)
{
    return (desc.Usage & D3DUSAGE_DEPTHSTENCIL) && IsDepthFormat(desc.Format);
}

std::optional<FrontCheck> CheckDepthCopy(const D3DSURFACE_DESC& source, const RECT* sourceRect,
                                         const D3DSURFACE_DESC& dest, const RECT* destRect,
                                         D3DTEXTUREFILTERTYPE filter, bool inScene)
{
    if (inScene) {
        return FrontCheck::SceneOpen;
    }
    if (sourceRect || destRect || filter != D3DTEXF_NONE || source.Format != dest.Format ||
        source.Width != dest.Width || source.Height != dest.Height || source.MultiSampleType != dest.MultiSampleType) {
        return FrontCheck::DepthCopy;
    }
    return {};
}

} // namespace

bool ViewportFits(const D3DVIEWPORT9& viewport, const D3DSURFACE_DESC& target)
{
    return viewport.Width > 0 && viewport.Height > 0 &&
           uint64_t{viewport.X} + viewport.Width <= target.Width &&
           uint64_t{viewport.Y} + viewport.Height <= target.Height && UnitRange(viewport.MinZ) &&
           UnitRange(viewport.MaxZ);
}

std::optional<FrontCheck> CheckClear(DWORD count, const D3DRECT* rects, DWORD flags, float z,
                                     const IDirect3DSurface9* depth)
{
    constexpr DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (flags == 0 || (flags & ~known)) {
        return FrontCheck::ClearFlags;
    }
    if ((count > 0) != (rects != nullptr)) {
        return FrontCheck::RectCount;
    }
    if (!UnitRange(z)) {
        return FrontCheck::DepthOutside;
    }
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depth) {
        return FrontCheck::NoDepthStencil;
    }
    if ((flags & D3DCLEAR_STENCIL) && !DescribeFormat(depth->Desc().Format)->hasStencil) {
        return FrontCheck::NoStencil;
    }
    return {};
}

std::optional<FrontCheck> CheckStretchRect(const IDirect3DSurface9& source, const RECT* sourceRect,
                                           const IDirect3DSurface9& dest, const RECT* destRect,
                                           D3DTEXTUREFILTERTYPE filter, bool inScene)
{
    const D3DSURFACE_DESC& from = source.Desc();
    const D3DSURFACE_DESC& to = dest.Desc();
    if (&source == &dest) {
        return FrontCheck::SameSurface;
    }
    if (source.Locked() || dest.Locked()) {
        return FrontCheck::Locked;
    }
    if (filter > D3DTEXF_LINEAR) {
        return FrontCheck::UnknownFilter;
    }
    if (IsDepthStencil(from) && IsDepthStencil(to)) {
        return CheckDepthCopy(from, sourceRect, to, destRect, filter, inScene);
    }
    if (!IsRenderTarget(from) || !IsRenderTarget(to)) {
        return FrontCheck::NotRenderTarget;
    }
    const RECT fromRect = sourceRect ? *sourceRect : WholeSurface(from);
    const RECT toRect = destRect ? *destRect : WholeSurface(to);
    if (!RectInside(fromRect, from.Width, from.Height) || !RectInside(toRect, to.Width, to.Height)) {
        return FrontCheck::OutsideResource;
    }
    const bool stretched = fromRect.right - fromRect.left != toRect.right - toRect.left ||
                           fromRect.bottom - fromRect.top != toRect.bottom - toRect.top;
    // Direct3D resolves a multisampled source but does not stretch between multisampled surfaces.
    if (stretched && from.MultiSampleType != D3DMULTISAMPLE_NONE && to.MultiSampleType != D3DMULTISAMPLE_NONE) {
        return FrontCheck::MultisampleStretch;
    }
    return {};
}
