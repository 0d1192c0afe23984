// Base of the device's resources (surfaces, textures, buffers): their type and memory pool. A
// top-level resource is registered with its device while it exists, so that Reset can refuse
// while default-pool resources are still referenced.
#pragma once

#include "Platform/Gfx/DeviceChild.h"

class IDirect3DResource9 : public DeviceChild {
public:
    D3DRESOURCETYPE GetType() const { return type_; }
    D3DPOOL Pool() const { return pool_; }

protected:
    IDirect3DResource9(IDirect3DDevice9& device, D3DRESOURCETYPE type, D3DPOOL pool);
    IDirect3DResource9(IDirect3DDevice9& device, Unknown& owner, D3DRESOURCETYPE type, D3DPOOL pool);
    ~IDirect3DResource9() override;

private:
    D3DRESOURCETYPE type_;
    D3DPOOL pool_;
    bool registered_;
};
