#include "Platform/Gfx/IDirect3D9.h"

#include <bit>

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/detail/PresentParameterChecks.h"

namespace {

std::optional<FrontCheck> CheckAdapter(UINT adapter, D3DDEVTYPE type)
{
    if (adapter != D3DADAPTER_DEFAULT) {
        return FrontCheck::UnknownAdapter;
    }
    if (type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_NULLREF) {
        return FrontCheck::UnknownDeviceType;
    }
    return {};
}

bool OneVertexProcessing(DWORD behaviorFlags)
{
    constexpr DWORD processing = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                 D3DCREATE_MIXED_VERTEXPROCESSING;
    return std::popcount(behaviorFlags & processing) == 1;
}

} // namespace

IDirect3D9::IDirect3D9(std::shared_ptr<GfxBackend> driver) : driver_(std::move(driver)) {}

HRESULT IDirect3D9::Refuse(Op op, FrontCheck check)
{
    return refusals_.Refuse(*driver_, FrontRefusal{OpName(op), op, check, {}});
}

UINT IDirect3D9::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format)
{
    if (Adapter != D3DADAPTER_DEFAULT) {
        return 0;
    }
    return driver_->GetAdapterModeCount(Adapter, Format);
}

HRESULT IDirect3D9::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode)
{
    if (Adapter != D3DADAPTER_DEFAULT) {
        return Refuse(Op::EnumAdapterModes, FrontCheck::UnknownAdapter);
    }
    if (!pMode) {
        return Refuse(Op::EnumAdapterModes, FrontCheck::NullPointer);
    }
    return driver_->EnumAdapterModes(Adapter, Format, Mode, pMode);
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode)
{
    if (Adapter != D3DADAPTER_DEFAULT) {
        return Refuse(Op::GetAdapterDisplayMode, FrontCheck::UnknownAdapter);
    }
    if (!pMode) {
        return Refuse(Op::GetAdapterDisplayMode, FrontCheck::NullPointer);
    }
    return driver_->GetAdapterDisplayMode(Adapter, pMode);
}

HRESULT IDirect3D9::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                      D3DRESOURCETYPE RType, D3DFORMAT CheckFormat)
{
    if (const auto failed = CheckAdapter(Adapter, DeviceType)) {
        return Refuse(Op::CheckDeviceFormat, *failed);
    }
    if (RType < D3DRTYPE_SURFACE || RType > D3DRTYPE_INDEXBUFFER) {
        return Refuse(Op::CheckDeviceFormat, FrontCheck::UnknownResourceType);
    }
    return driver_->CheckDeviceFormat(Adapter, DeviceType, AdapterFormat, Usage, RType, CheckFormat);
}

HRESULT IDirect3D9::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat,
                                               BOOL Windowed, D3DMULTISAMPLE_TYPE MultiSampleType,
                                               DWORD* pQualityLevels)
{
    if (const auto failed = CheckAdapter(Adapter, DeviceType)) {
        return Refuse(Op::CheckDeviceMultiSampleType, *failed);
    }
    if (MultiSampleType > D3DMULTISAMPLE_16_SAMPLES) {
        return Refuse(Op::CheckDeviceMultiSampleType, FrontCheck::UnknownMultiSampleType);
    }
    return driver_->CheckDeviceMultiSampleType(Adapter, DeviceType, SurfaceFormat, Windowed, MultiSampleType,
                                               pQualityLevels);
}

HRESULT IDirect3D9::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps)
{
    if (const auto failed = CheckAdapter(Adapter, DeviceType)) {
        return Refuse(Op::GetDeviceCaps, *failed);
    }
    if (!pCaps) {
        return Refuse(Op::GetDeviceCaps, FrontCheck::NullPointer);
    }
    return driver_->GetDeviceCaps(Adapter, DeviceType, pCaps);
}

HRESULT IDirect3D9::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                                 D3DPRESENT_PARAMETERS* pPresentationParameters,
                                 IDirect3DDevice9** ppReturnedDeviceInterface)
{
    if (const auto failed = CheckAdapter(Adapter, DeviceType)) {
        return Refuse(Op::CreateDevice, *failed);
    }
    if (!OneVertexProcessing(BehaviorFlags)) {
        return Refuse(Op::CreateDevice, FrontCheck::VertexProcessing);
    }
    if (!pPresentationParameters || !ppReturnedDeviceInterface) {
        return Refuse(Op::CreateDevice, FrontCheck::NullPointer);
    }
    if (const auto failed = CheckPresentParameters(*pPresentationParameters)) {
        return Refuse(Op::CreateDevice, *failed);
    }
    if (device_) {
        return Refuse(Op::CreateDevice, FrontCheck::DeviceAlive);
    }
    auto* device = new IDirect3DDevice9(*this, driver_, *pPresentationParameters, hFocusWindow, BehaviorFlags);
    IDirect3DDevice9* built = device;
    device_ = device;
    const HRESULT hr = driver_->CreateDevice(Adapter, DeviceType, hFocusWindow, BehaviorFlags,
                                             pPresentationParameters, &built);
    if (FAILED(hr)) {
        device->Release();
        *ppReturnedDeviceInterface = nullptr;
        return hr;
    }
    *ppReturnedDeviceInterface = device;
    return hr;
}

void IDirect3D9::DeviceDestroyed(IDirect3DDevice9& device)
{
    if (device_ == &device) {
        device_ = nullptr;
    }
}
