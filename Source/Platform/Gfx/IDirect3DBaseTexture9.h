// Base of the textures: what every kind shares (level count, usage, format, pool). Shaders
// sample any kind through this type.
#pragma once

#include "Platform/Gfx/IDirect3DResource9.h"

class IDirect3DBaseTexture9 : public IDirect3DResource9 {
public:
    DWORD GetLevelCount() const { return levelCount_; }

    DWORD Usage() const { return usage_; }
    D3DFORMAT Format() const { return format_; }

protected:
    IDirect3DBaseTexture9(IDirect3DDevice9& device, D3DRESOURCETYPE type, UINT levelCount, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool)
        : IDirect3DResource9(device, type, pool), levelCount_(levelCount), usage_(usage), format_(format)
    {
    }

private:
    UINT levelCount_;
    DWORD usage_;
    D3DFORMAT format_;
};
