#include "Platform/Gfx/detail/PresentParameterChecks.h"

namespace {

bool KnownInterval(UINT interval, bool windowed)
{
    switch (interval) {
    case D3DPRESENT_INTERVAL_DEFAULT:
    case D3DPRESENT_INTERVAL_ONE:
    case D3DPRESENT_INTERVAL_IMMEDIATE:
        return true;
    case D3DPRESENT_INTERVAL_TWO:
    case D3DPRESENT_INTERVAL_THREE:
    case D3DPRESENT_INTERVAL_FOUR:
        return !windowed;
    default:
        return false;
    }
}

} // namespace

std::optional<FrontCheck> CheckPresentParameters(D3DPRESENT_PARAMETERS& parameters)
{
    D3DPRESENT_PARAMETERS checked = parameters;
    const bool windowed = checked.Windowed != FALSE;
    if (checked.BackBufferFormat == D3DFMT_UNKNOWN && windowed) {
        checked.BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (checked.BackBufferCount == 0) {
        checked.BackBufferCount = 1;
    }
    constexpr DWORD knownFlags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL |
                                 D3DPRESENTFLAG_DEVICECLIP | D3DPRESENTFLAG_VIDEO;
    const bool multisampled = checked.MultiSampleType != D3DMULTISAMPLE_NONE;
    if ((checked.BackBufferFormat != D3DFMT_X8R8G8B8 && checked.BackBufferFormat != D3DFMT_A8R8G8B8) ||
        checked.BackBufferCount > D3DPRESENT_BACK_BUFFERS_MAX || checked.MultiSampleType > D3DMULTISAMPLE_16_SAMPLES ||
        checked.SwapEffect < D3DSWAPEFFECT_DISCARD || checked.SwapEffect > D3DSWAPEFFECT_COPY ||
        (multisampled && checked.SwapEffect != D3DSWAPEFFECT_DISCARD) ||
        (checked.SwapEffect == D3DSWAPEFFECT_COPY && checked.BackBufferCount != 1) || (checked.Flags & ~knownFlags) ||
        (multisampled && (checked.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)) ||
        (windowed && checked.FullScreen_RefreshRateInHz != 0) || !KnownInterval(checked.PresentationInterval, windowed)) {
        return FrontCheck::PresentParameters;
    }
    if (checked.BackBufferWidth == 0 || checked.BackBufferHeight == 0 || checked.EnableAutoDepthStencil ||
        (checked.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)) {
        return FrontCheck::PresentNotOffered;
    }
    parameters = checked;
    return {};
}

D3DSURFACE_DESC BackBufferDesc(const D3DPRESENT_PARAMETERS& parameters)
{
    D3DSURFACE_DESC desc;
    desc.Format = parameters.BackBufferFormat;
    desc.Usage = D3DUSAGE_RENDERTARGET;
    desc.Pool = D3DPOOL_DEFAULT;
    desc.MultiSampleType = parameters.MultiSampleType;
    desc.MultiSampleQuality = parameters.MultiSampleQuality;
    desc.Width = parameters.BackBufferWidth;
    desc.Height = parameters.BackBufferHeight;
    return desc;
}
