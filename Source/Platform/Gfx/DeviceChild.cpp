#include "Platform/Gfx/DeviceChild.h"

#include "Platform/Gfx/IDirect3DDevice9.h"

DeviceChild::DeviceChild(IDirect3DDevice9& device) : device_(device)
{
    device_.AddRef();
}

DeviceChild::DeviceChild(IDirect3DDevice9& device, Unknown& owner) : Unknown(owner), device_(device) {}

HRESULT DeviceChild::GetDevice(IDirect3DDevice9** ppDevice)
{
    if (!ppDevice) {
        return device_.Refuse("GetDevice", FrontCheck::NullPointer);
    }
    device_.AddRef();
    *ppDevice = &device_;
    return D3D_OK;
}

void DeviceChild::OnCallerReturned()
{
    device_.AddRef();
}

Unknown* DeviceChild::OnLastCallerGone()
{
    return &device_;
}
