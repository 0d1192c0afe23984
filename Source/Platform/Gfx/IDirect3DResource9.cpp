#include "Platform/Gfx/IDirect3DResource9.h"

#include "Platform/Gfx/IDirect3DDevice9.h"

IDirect3DResource9::IDirect3DResource9(IDirect3DDevice9& device, D3DRESOURCETYPE type, D3DPOOL pool)
    : DeviceChild(device), type_(type), pool_(pool), registered_(true)
{
    device.RegisterResource(*this);
}

IDirect3DResource9::IDirect3DResource9(IDirect3DDevice9& device, Unknown& owner, D3DRESOURCETYPE type,
                                       D3DPOOL pool)
    : DeviceChild(device, owner), type_(type), pool_(pool), registered_(false)
{
}

IDirect3DResource9::~IDirect3DResource9()
{
    if (registered_) {
        Device().UnregisterResource(*this);
    }
}
