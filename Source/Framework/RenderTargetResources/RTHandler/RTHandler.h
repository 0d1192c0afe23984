// The pool of 2D render targets that scenes and modules share by format and size. A holder keeps
// a target by its index, which stays valid until the framework ends.
#pragma once

#include "Framework/Singleton.h"
#include "Platform/Gfx/GfxTypes.h"

#include <memory>
#include <vector>

class IDirect3DTexture9;
class IDirect3DSurface9;

struct RenderTargetDesc {
    D3DFORMAT format;
    uint32_t width;
    uint32_t height;
};

struct RenderTargetEntry {
    uint32_t useCount = 0; // 0: free for the next Acquire of the same key
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* surface = nullptr;
    D3DFORMAT format;
    uint32_t width;
    uint32_t height;
};

class RTHandler : public Singleton<RTHandler> {
public:
    RTHandler();
    ~RTHandler();

    // The index of a free entry of exactly that key, or of a new one; the caller now holds it.
    static uint32_t Acquire(const RenderTargetDesc& desc);
    static RenderTargetEntry& GetTarget(uint32_t index);
    // Gives one hold back; a free entry stays free.
    static void Release(uint32_t index);
    // Binds the entry's surface to slot (0..3) and the framework's depth-stencil surface.
    static void BindTarget(uint32_t slot, const RenderTargetEntry& entry);

    // A device reset refuses live default-pool textures: they are released before it and made
    // again after it, behind the same indices, all free again.
    static void ReleaseDeviceObjects();
    static void RecreateDeviceObjects();

    static size_t Count() { return pool.size(); }

private:
    static void CreateTexture(RenderTargetEntry& entry);
    static void Clear();

    static inline std::vector<std::unique_ptr<RenderTargetEntry>> pool;
};
