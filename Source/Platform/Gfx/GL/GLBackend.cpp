// The GL backend's adapter queries, device life and frame.
#include "Platform/Gfx/GL/GLBackend.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLResources.h"
#include "Platform/Gfx/GL/detail/GLSurfaceAccess.h"
#include "Platform/Window/Window.h"

namespace {

int SwapIntervalOf(UINT presentationInterval)
{
    switch (presentationInterval) {
    case D3DPRESENT_INTERVAL_IMMEDIATE: return 0;
    case D3DPRESENT_INTERVAL_TWO: return 2;
    case D3DPRESENT_INTERVAL_THREE: return 3;
    case D3DPRESENT_INTERVAL_FOUR: return 4;
    default: return 1;
    }
}

void ApplySwapInterval(UINT presentationInterval)
{
    // Vertical sync is a wish: a display that cannot wait (a headless one) presents at once.
    if (SDL_GL_SetSwapInterval(SwapIntervalOf(presentationInterval)) != 0 && presentationInterval != 0) {
        SDL_GL_SetSwapInterval(0);
    }
}

HWND DeviceWindow(const D3DPRESENT_PARAMETERS& parameters, HWND focusWindow)
{
    return parameters.hDeviceWindow ? parameters.hDeviceWindow : focusWindow;
}

} // namespace

GLDeviceData& GLBackend::Data() const
{
    return device_->Backend().As<GLDeviceData>();
}

UINT GLBackend::GetAdapterModeCount(UINT, D3DFORMAT Format)
{
    return adapter_.ModeCount(Format);
}

HRESULT GLBackend::EnumAdapterModes(UINT, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode)
{
    return adapter_.Mode(Format, Mode, pMode);
}

HRESULT GLBackend::GetAdapterDisplayMode(UINT, D3DDISPLAYMODE* pMode)
{
    return adapter_.DisplayMode(pMode);
}

HRESULT GLBackend::CheckDeviceFormat(UINT, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                     D3DRESOURCETYPE RType, D3DFORMAT CheckFormat)
{
    if (DeviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    return adapter_.CheckFormat(AdapterFormat, Usage, RType, CheckFormat);
}

HRESULT GLBackend::CheckDeviceMultiSampleType(UINT, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL,
                                              D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels)
{
    if (DeviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    return adapter_.CheckMultiSample(SurfaceFormat, MultiSampleType, pQualityLevels);
}

HRESULT GLBackend::GetDeviceCaps(UINT, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps)
{
    if (DeviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    return adapter_.Caps(pCaps);
}

HRESULT GLBackend::CheckBackBuffer(const D3DPRESENT_PARAMETERS& parameters)
{
    const D3DFORMAT format = parameters.BackBufferFormat;
    // The resolve buffer and the window hold 8-bit colour.
    if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8) {
        return D3DERR_INVALIDCALL;
    }
    if (!adapter_.OffersMultiSample(format, parameters.MultiSampleType, parameters.MultiSampleQuality) ||
        !adapter_.Fits(D3DRTYPE_TEXTURE, parameters.BackBufferWidth, parameters.BackBufferHeight, 1)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT GLBackend::AttachBackBuffer(const D3DPRESENT_PARAMETERS& parameters)
{
    IDirect3DSurface9& backBuffer = device_->BackBuffer();
    auto data = std::make_unique<GLSurfaceData>(Data().Token(), parameters.BackBufferFormat, parameters.BackBufferWidth,
                                                parameters.BackBufferHeight);
    if (!data->MakeRenderbuffer(adapter_.SamplesOf(parameters.MultiSampleType, parameters.MultiSampleQuality))) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    backBuffer.Backend().Attach(std::move(data));
    ApplySwapInterval(parameters.PresentationInterval);
    Data().targetsDirty = true;
    return D3D_OK;
}

HRESULT GLBackend::CreateDevice(UINT, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD,
                                D3DPRESENT_PARAMETERS* pPresentationParameters,
                                IDirect3DDevice9** ppReturnedDeviceInterface)
{
    if (DeviceType != D3DDEVTYPE_HAL || !adapter_.Limits()) {
        return D3DERR_NOTAVAILABLE;
    }
    if (const HRESULT hr = CheckBackBuffer(*pPresentationParameters); FAILED(hr)) {
        return hr;
    }
    SDL_Window* window = SdlWindowOf(DeviceWindow(*pPresentationParameters, hFocusWindow));
    if (!window) {
        return D3DERR_INVALIDCALL;
    }
    auto context = GLContext::Create(window);
    if (!context) {
        return D3DERR_NOTAVAILABLE;
    }
    IDirect3DDevice9& device = **ppReturnedDeviceInterface;
    device.Backend().Attach(std::make_unique<GLDeviceData>(std::move(context)));
    device_ = &device;
    const HRESULT hr = AttachBackBuffer(*pPresentationParameters);
    if (FAILED(hr)) {
        device_ = nullptr;
    }
    return hr;
}

HRESULT GLBackend::TestCooperativeLevel()
{
    // A reset context can be replaced at once: the device waits only for Reset.
    return Data().lost ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HRESULT GLBackend::BeginScene()
{
    return D3D_OK;
}

HRESULT GLBackend::EndScene()
{
    return D3D_OK;
}

HRESULT GLBackend::Present(const RECT*, const RECT*, HWND, const RGNDATA*)
{
    GLDeviceData& data = Data();
    if (data.lost) {
        return D3DERR_DEVICELOST;
    }
    const GLSurfaceData& backBuffer = device_->BackBuffer().Backend().As<GLSurfaceData>();
    BindColourForRead(data, backBuffer);
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GL_GetDrawableSize(data.Context().Window(), &windowWidth, &windowHeight);
    const auto width = static_cast<GLint>(backBuffer.width);
    const auto height = static_cast<GLint>(backBuffer.height);
    const bool scaled = width != windowWidth || height != windowHeight;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The one flip of the backend: the window's row 0 is its bottom row.
    glBlitFramebuffer(0, 0, width, height, 0, windowHeight, windowWidth, 0, GL_COLOR_BUFFER_BIT,
                      scaled ? GL_LINEAR : GL_NEAREST);
    SDL_GL_SwapWindow(data.Context().Window());
    if (data.Context().WasReset()) {
        data.lost = true;
        return D3DERR_DEVICELOST;
    }
    return D3D_OK;
}

HRESULT GLBackend::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters)
{
    if (const HRESULT hr = CheckBackBuffer(*pPresentationParameters); FAILED(hr)) {
        return hr;
    }
    GLDeviceData& data = Data();
    if (data.lost) {
        // Everything of the old context is gone with it; the front has released what the device
        // made in the default pool, and the back buffer is made again below.
        auto context = GLContext::Create(data.Context().Window());
        if (!context) {
            return D3DERR_DEVICELOST;
        }
        device_->Backend().Attach(std::make_unique<GLDeviceData>(std::move(context)));
        // The old context's teardown made itself current last.
        Data().Context().MakeCurrent();
    } else {
        // Reset brings back a new device's render states, as the front does.
        data.state = GLState();
    }
    return AttachBackBuffer(*pPresentationParameters);
}
