// A surface: a standalone depth-stencil surface, a level of a texture (or of a cube face), or the
// device's back buffer. Levels and the back buffer are parts of their owner: their references go
// to the texture or the device.
#pragma once

#include "Platform/Gfx/IDirect3DResource9.h"

class IDirect3DSurface9 : public IDirect3DResource9 {
public:
    // A standalone surface.
    IDirect3DSurface9(IDirect3DDevice9& device, const D3DSURFACE_DESC& desc);
    // Level `level` of a texture, or of face `face` of a cube texture.
    IDirect3DSurface9(IDirect3DBaseTexture9& container, const D3DSURFACE_DESC& desc, UINT level,
                      D3DCUBEMAP_FACES face);
    // The device's back buffer.
    IDirect3DSurface9(IDirect3DDevice9& device, Unknown& swapChainOwner, const D3DSURFACE_DESC& desc);
    ~IDirect3DSurface9() override = default;

    HRESULT GetDesc(D3DSURFACE_DESC* pDesc);
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags);
    HRESULT UnlockRect();

    const D3DSURFACE_DESC& Desc() const { return desc_; }
    // The texture this surface is a level of; null for standalone surfaces and the back buffer.
    IDirect3DBaseTexture9* Container() const { return container_; }
    UINT Level() const { return level_; }
    D3DCUBEMAP_FACES Face() const { return face_; }
    bool IsBackBuffer() const { return backBuffer_; }
    bool Locked() const { return locked_; }
    bool Lockable() const;

    // The object a device hold on this surface goes to: its texture, itself, or none for the back
    // buffer, which lives as long as the device.
    Unknown* HeldThrough();

    // Reset gives the back buffer its new description.
    void Redescribe(const D3DSURFACE_DESC& desc) { desc_ = desc; }

private:
    D3DSURFACE_DESC desc_;
    IDirect3DBaseTexture9* container_ = nullptr;
    UINT level_ = 0;
    D3DCUBEMAP_FACES face_ = D3DCUBEMAP_FACE_POSITIVE_X;
    bool backBuffer_ = false;
    bool locked_ = false;
};
