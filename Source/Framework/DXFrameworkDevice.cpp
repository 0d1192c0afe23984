// The device lifecycle of the framework: capability checks and creation, the device-wide
// resources, and the reset after a lost device.
#include "Framework/DXFramework.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DeviceCall.h"
#include "Framework/ReleaseAndClear.h"
#include "Framework/FrameworkEx.h"
#include "Framework/FrameworkSupportFailed.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/RenderTargetResources/RTCubeHandler/RTCubeHandler.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Window/Window.h"

#include <algorithm>

namespace {

const char* const SourcePath = ".\\Source\\Framework\\DXFramework.cpp";
const CallSite GetAdapterDisplayModeSite{SourcePath, 1213};
const CallSite DepthFormatCheckSite{SourcePath, 1219};
const CallSite GetDeviceCapsSite{SourcePath, 1224};
const CallSite CreateDeviceSite{SourcePath, 1295};
const CallSite ResetSite{SourcePath, 1307};
const CallSite DepthSurfaceSite{SourcePath, 1379};
const CallSite ResolveDepthSurfaceSite{SourcePath, 1388};
const CallSite SetDepthStencilSite{SourcePath, 1394};
const CallSite EffectPoolSite{SourcePath, 1402};

// The depth surfaces cover every target: 2048 pixels at least, more for a larger back buffer.
constexpr UINT DepthSurfaceFloor = 2048;
constexpr int MaxResetAttempts = 200;

} // namespace

void DXFramework::CreateDevice()
{
    if (settings.fullscreen)
        while (ShowCursor(0) >= 0) {
        }
    else
        while (ShowCursor(1) < 0) {
        }

    if (!direct3d) {
        direct3d = createDirect3D();
        if (!direct3d)
            throw FrameworkEx("Unable to initialize d3d9");
    }

    if (!settings.fullscreen) {
        D3DDISPLAYMODE mode{};
        CheckDeviceCall(direct3d->GetAdapterDisplayMode(0, &mode), GetAdapterDisplayModeSite);
        CheckDeviceCall(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mode.Format, D3DUSAGE_DEPTHSTENCIL,
                                                    D3DRTYPE_SURFACE, D3DFMT_D16),
                        DepthFormatCheckSite);
    }
    CheckDeviceCall(direct3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &deviceCaps), GetDeviceCapsSite);
    const DWORD vertexProcessing = deviceCaps.VertexProcessingCaps != 0 ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                                                        : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    CheckCapabilities();
    FillPresentParameters();
    CheckDeviceCall(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, vertexProcessing, &presentParameters, &device),
                    CreateDeviceSite);
    SetDeviceLostHandler([this] {
        if (!device)
            return false;
        // Within a frame the reset waits until the frame has been given up (RunFrame).
        if (inFrame)
            throw FrameLost{};
        ResetDevice();
        return true;
    });
}

void DXFramework::CheckCapabilities() const
{
    const D3DCAPS9& caps = deviceCaps;
    auto require = [](bool condition, const char* message) {
        if (!condition)
            throw FrameworkSupportFailed(message);
    };
    require(caps.NumSimultaneousRTs >= 4, "Number of simultaneous render targets < 4");
    require((caps.PrimitiveMiscCaps & D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING) != 0,
            "No multiple rendertarge post pixel shader blending allowed.");
    require(SUCCEEDED(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                  D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE,
                                                  D3DFMT_A16B16G16R16F)),
            "No post pixel shader blending allowed on D3DFMT_A16B16G16R16F.");
    require((caps.VertexShaderVersion & 0xFF00) >= 0x300, "VertexShaderVersion < 3.0.");
    require((caps.PixelShaderVersion & 0xFF00) >= 0x300, "PixelShaderVersion < 3.0.");
    require(caps.MaxTextureWidth >= 2048, "MaxTextureWidth < 2048.");
    require(caps.MaxTextureHeight >= 2048, "MaxTextureHeight < 2048.");
    require((caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP) != 0, "Cubemaps not allowed.");
    require((caps.TextureCaps & D3DPTEXTURECAPS_VOLUMEMAP) != 0, "Volumemaps not allowed.");
    require((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) == 0, "Textures can only be squares.");
    require(!((caps.TextureCaps & D3DPTEXTURECAPS_POW2) && !(caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL)),
            "Your gfx adaptor does not support non-power-of-two textures in any reasonable way.");
}

void DXFramework::FillPresentParameters()
{
    presentParameters = D3DPRESENT_PARAMETERS{};
    presentParameters.BackBufferWidth = settings.backBufferWidth;
    presentParameters.BackBufferHeight = settings.backBufferHeight;
    presentParameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    presentParameters.BackBufferCount = 1;
    presentParameters.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(settings.multiSampleType);
    presentParameters.MultiSampleQuality = settings.multiSampleQuality;
    presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParameters.hDeviceWindow = window;
    presentParameters.Windowed = settings.fullscreen ? FALSE : TRUE;
    presentParameters.EnableAutoDepthStencil = FALSE;
    presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
    presentParameters.Flags = 0;
    presentParameters.FullScreen_RefreshRateInHz = settings.fullscreen ? settings.refreshRate : 0;
    presentParameters.PresentationInterval = settings.vsync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
}

void DXFramework::CreateDeviceResources()
{
    DEVICE_CALL(device->GetRenderTarget(0, &backBuffer));
    const UINT depthSize = std::max({DepthSurfaceFloor, settings.backBufferWidth, settings.backBufferHeight});
    const auto samples = static_cast<D3DMULTISAMPLE_TYPE>(settings.multiSampleType);
    CheckDeviceCall(device->CreateDepthStencilSurface(depthSize, depthSize, D3DFMT_D24S8, samples, 0, TRUE,
                                                      &depthSurface, nullptr),
                    DepthSurfaceSite);
    if (settings.multiSampleType != 0)
        CheckDeviceCall(device->CreateDepthStencilSurface(depthSize, depthSize, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0,
                                                          TRUE, &resolveDepthSurface, nullptr),
                        ResolveDepthSurfaceSite);
    else
        resolveDepthSurface = depthSurface;
    CheckDeviceCall(device->SetDepthStencilSurface(depthSurface), SetDepthStencilSite);

    // Every scene takes and gives back its targets once, so that the pools hold a free texture of
    // every key before the first frame.
    SceneHandler::Instance()->ActivateAndDeactivateAll();

    CreateNoiseVolume();
    CreateNoiseVectors();
    CheckDeviceCall(D3DXCreateEffectPool(&effectPool), EffectPoolSite);
    DXEffectHandler::Instance()->AddEffect("Global", "global.fx", effectPool);
    sharedEffect = DXEffectHandler::SetActiveEffect("Global");
    DXEffectHandler::SetTextureBySemantic("NOISETEX", noiseVolume);
    DXEffectHandler::SetTextureBySemantic("NOISEVECTEX", noiseVectors);

    ModuleHandler::Instance()->LoadAll();
    SceneHandler::Instance()->LoadAll();
    Timer::SetTime(0.0, 0.0);
    Timer::SetTime(0.0, 0.0);
}

void DXFramework::ReleaseDeviceResources()
{
    if (SceneHandler* scenes = SceneHandler::Instance())
        scenes->UnloadAll();
    if (ModuleHandler* modules = ModuleHandler::Instance())
        modules->ReleaseAll();
    if (sharedEffect)
        DXEffectHandler::Instance()->DestroyEffect("Global");
    sharedEffect = nullptr;
    ReleaseAndClear(effectPool);
    ReleaseAndClear(noiseVolume);
    ReleaseAndClear(noiseVectors);
    if (resolveDepthSurface == depthSurface)
        resolveDepthSurface = nullptr; // one surface, released once
    ReleaseAndClear(depthSurface);
    ReleaseAndClear(resolveDepthSurface);
    ReleaseAndClear(backBuffer);
}

void DXFramework::ResetDevice()
{
    ReleaseDeviceResources();
    // The pools keep their entries and indices; only their textures go and come back.
    RTHandler::ReleaseDeviceObjects();
    RTCubeHandler::ReleaseDeviceObjects();
    // A device that stays lost is waited out for a while, then reported.
    HRESULT result = device->Reset(&presentParameters);
    for (int attempt = 0; result == D3DERR_DEVICELOST && attempt < MaxResetAttempts; ++attempt) {
        Sleep(50);
        result = device->Reset(&presentParameters);
    }
    if (FAILED(result))
        throw FrameworkEx(DeviceCallMessage(result, ResetSite));
    RTHandler::RecreateDeviceObjects();
    RTCubeHandler::RecreateDeviceObjects();
    CreateDeviceResources();
}
