// The memory backend's adapter, device life and frame.
#include "Platform/Gfx/Recorder/MemoryBackend.h"

#include <algorithm>
#include <bit>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/Recorder.h"
#include "Platform/Gfx/Recorder/detail/MemoryData.h"
#include "Platform/Gfx/Recorder/detail/StoreOrReport.h"

MemoryBackend::MemoryBackend(std::shared_ptr<Recorder> recorder) : recorder_(std::move(recorder)) {}

const RecorderConfig& MemoryBackend::Config() const
{
    return recorder_->Config();
}

bool MemoryBackend::Offers(D3DRESOURCETYPE type, D3DFORMAT format, DWORD usage) const
{
    return std::any_of(Config().formats.begin(), Config().formats.end(), [&](const FormatSupport& support) {
        return support.type == type && support.format == format && (support.usage & usage) == usage;
    });
}

bool MemoryBackend::OffersMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD quality) const
{
    if (type == D3DMULTISAMPLE_NONE) {
        return quality == 0;
    }
    const auto& types = Config().multiSampleTypes;
    const auto& formats = Config().multiSampleFormats;
    const bool typeOffered = type == D3DMULTISAMPLE_NONMASKABLE ? !types.empty()
                                                                 : std::find(types.begin(), types.end(), type) != types.end();
    return typeOffered && std::find(formats.begin(), formats.end(), format) != formats.end() &&
           quality < Config().multiSampleQualityLevels;
}

bool MemoryBackend::FitsCaps(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth) const
{
    const D3DCAPS9& caps = Config().caps;
    if (type == D3DRTYPE_VOLUMETEXTURE) {
        return (caps.TextureCaps & D3DPTEXTURECAPS_VOLUMEMAP) && width <= caps.MaxVolumeExtent &&
               height <= caps.MaxVolumeExtent && depth <= caps.MaxVolumeExtent;
    }
    if (type == D3DRTYPE_CUBETEXTURE && !(caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP)) {
        return false;
    }
    const bool powersOfTwoOnly =
        (caps.TextureCaps & D3DPTEXTURECAPS_POW2) && !(caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL);
    if (powersOfTwoOnly && (!std::has_single_bit(width) || !std::has_single_bit(height))) {
        return false;
    }
    if ((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) && width != height) {
        return false;
    }
    return width <= caps.MaxTextureWidth && height <= caps.MaxTextureHeight;
}

HRESULT MemoryBackend::CheckBackBuffer(const D3DPRESENT_PARAMETERS& parameters) const
{
    if (!OffersMultiSample(parameters.BackBufferFormat, parameters.MultiSampleType, parameters.MultiSampleQuality) ||
        !FitsCaps(D3DRTYPE_TEXTURE, parameters.BackBufferWidth, parameters.BackBufferHeight, 1)) {
        return D3DERR_INVALIDCALL;
    }
    if (!parameters.Windowed) {
        const bool listed = std::any_of(Config().modes.begin(), Config().modes.end(), [&](const D3DDISPLAYMODE& mode) {
            return mode.Width == parameters.BackBufferWidth && mode.Height == parameters.BackBufferHeight &&
                   (parameters.FullScreen_RefreshRateInHz == 0 ||
                    mode.RefreshRate == parameters.FullScreen_RefreshRateInHz);
        });
        if (!listed) {
            return D3DERR_INVALIDCALL;
        }
    }
    return D3D_OK;
}

void MemoryBackend::Store(IDirect3DSurface9& surface, bool listed)
{
    const D3DSURFACE_DESC& desc = surface.Desc();
    auto data = std::make_unique<SurfaceData>(
        ImageBytes(desc.Format, desc.Width, desc.Height, 1, Config().rowPitchAlignment));
    if (listed) {
        data->registration.emplace(*recorder_, ObjectKind::Surface, surface);
    }
    surface.Backend().Attach(std::move(data));
}

UINT MemoryBackend::GetAdapterModeCount(UINT, D3DFORMAT Format)
{
    return static_cast<UINT>(std::count_if(Config().modes.begin(), Config().modes.end(),
                                           [&](const D3DDISPLAYMODE& mode) { return mode.Format == Format; }));
}

HRESULT MemoryBackend::EnumAdapterModes(UINT, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode)
{
    UINT seen = 0;
    for (const D3DDISPLAYMODE& mode : Config().modes) {
        if (mode.Format == Format && seen++ == Mode) {
            *pMode = mode;
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

HRESULT MemoryBackend::GetAdapterDisplayMode(UINT, D3DDISPLAYMODE* pMode)
{
    *pMode = Config().desktopMode;
    return D3D_OK;
}

HRESULT MemoryBackend::CheckDeviceFormat(UINT, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                         D3DRESOURCETYPE RType, D3DFORMAT CheckFormat)
{
    if (DeviceType != D3DDEVTYPE_HAL || AdapterFormat != Config().desktopMode.Format) {
        return D3DERR_NOTAVAILABLE;
    }
    return Offers(RType, CheckFormat, Usage) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT MemoryBackend::CheckDeviceMultiSampleType(UINT, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL,
                                                  D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels)
{
    if (DeviceType != D3DDEVTYPE_HAL || !OffersMultiSample(SurfaceFormat, MultiSampleType, 0)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (pQualityLevels) {
        *pQualityLevels = MultiSampleType == D3DMULTISAMPLE_NONE ? 1 : Config().multiSampleQualityLevels;
    }
    return D3D_OK;
}

HRESULT MemoryBackend::GetDeviceCaps(UINT, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps)
{
    if (DeviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    *pCaps = Config().caps;
    return D3D_OK;
}

HRESULT MemoryBackend::CreateDevice(UINT, D3DDEVTYPE DeviceType, HWND, DWORD,
                                    D3DPRESENT_PARAMETERS* pPresentationParameters,
                                    IDirect3DDevice9** ppReturnedDeviceInterface)
{
    if (DeviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    if (const HRESULT hr = CheckBackBuffer(*pPresentationParameters); FAILED(hr)) {
        return hr;
    }
    IDirect3DDevice9& device = **ppReturnedDeviceInterface;
    const HRESULT hr = StoreOrReport([&] { Store(device.BackBuffer(), false); });
    if (SUCCEEDED(hr)) {
        device_ = &device;
        device.Backend().Attach(std::make_unique<RegisteredData>(*recorder_, ObjectKind::Device, device));
    }
    return hr;
}

HRESULT MemoryBackend::TestCooperativeLevel()
{
    return D3D_OK;
}

HRESULT MemoryBackend::BeginScene()
{
    return D3D_OK;
}

HRESULT MemoryBackend::EndScene()
{
    return D3D_OK;
}

HRESULT MemoryBackend::Present(const RECT*, const RECT*, HWND, const RGNDATA*)
{
    return D3D_OK;
}

HRESULT MemoryBackend::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters)
{
    if (const HRESULT hr = CheckBackBuffer(*pPresentationParameters); FAILED(hr)) {
        return hr;
    }
    return StoreOrReport([&] { Store(device_->BackBuffer(), false); });
}

void MemoryBackend::Refused(Op, FrontCheck)
{
    // The recording half logs refusals; storage has nothing to change.
}
