// The Direct3D object of one backend: adapter 0's display modes, format and multisample checks,
// capabilities, and the device. Each backend has a creation entry point that returns one
// (CreateRecorderDirect3D, the GL one); the framework takes a Direct3DCreator so that it can be
// handed either.
//
// One device at a time: CreateDevice answers D3DERR_NOTAVAILABLE while this object's device is
// alive, since a backend drives one window.
#pragma once

#include <functional>
#include <memory>

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Refusal.h"
#include "Platform/Gfx/Unknown.h"

class GfxBackend;

class IDirect3D9 : public Unknown {
public:
    explicit IDirect3D9(std::shared_ptr<GfxBackend> driver);

    // The layer offers adapter 0 only.
    UINT GetAdapterCount() const { return 1; }
    UINT GetAdapterModeCount(UINT Adapter, D3DFORMAT Format);
    HRESULT EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode);
    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode);
    HRESULT CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                              D3DRESOURCETYPE RType, D3DFORMAT CheckFormat);
    HRESULT CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL Windowed,
                                       D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels);
    HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps);
    // Exactly one of the vertex processing flags. The present parameters must give the back
    // buffer's size and no automatic depth-stencil surface (D3DERR_NOTAVAILABLE otherwise); like
    // Direct3D, the call fills in their defaults.
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice9** ppReturnedDeviceInterface);

    GfxBackend& Driver() const { return *driver_; }

    // The last call this object refused and the check that refused it (Refusal.h).
    const std::optional<FrontRefusal>& LastRefusal() const { return refusals_.Last(); }

    // Called by the device as it goes.
    void DeviceDestroyed(IDirect3DDevice9& device);

private:
    HRESULT Refuse(Op op, FrontCheck check);

    std::shared_ptr<GfxBackend> driver_;
    RefusalRecord refusals_;
    IDirect3DDevice9* device_ = nullptr;
};

// How the framework makes its Direct3D object (where Direct3DCreate9 stood): one call per backend.
using Direct3DCreator = std::function<IDirect3D9*()>;
