// What every object made by a device shares: its device, which it keeps alive while callers
// reference it (as Direct3D does), and the backend's data for it.
#pragma once

#include "Platform/Gfx/BackendData.h"
#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Unknown.h"

class DeviceChild : public Unknown {
public:
    HRESULT GetDevice(IDirect3DDevice9** ppDevice);

    IDirect3DDevice9& Device() const { return device_; }
    BackendSlot& Backend() { return backend_; }
    const BackendSlot& Backend() const { return backend_; }

protected:
    // A top-level object: holds a device reference for as long as callers reference it.
    explicit DeviceChild(IDirect3DDevice9& device);
    // A part of owner, which holds the device for it.
    DeviceChild(IDirect3DDevice9& device, Unknown& owner);
    ~DeviceChild() override = default;

    void OnCallerReturned() override;
    Unknown* OnLastCallerGone() override;

private:
    IDirect3DDevice9& device_;
    BackendSlot backend_;
};
