// The pool of cube render targets, shared by format and edge length like the 2D pool.
#pragma once

#include "Framework/Singleton.h"
#include "Platform/Gfx/GfxTypes.h"

#include <array>
#include <memory>
#include <vector>

class IDirect3DCubeTexture9;
class IDirect3DSurface9;

struct CubeTargetDesc {
    D3DFORMAT format;
    uint32_t edgeLength;
};

struct CubeTargetEntry {
    uint32_t useCount = 0;
    IDirect3DCubeTexture9* texture = nullptr;
    std::array<IDirect3DSurface9*, 6> faces{}; // +X, -X, +Y, -Y, +Z, -Z
    D3DFORMAT format;
    uint32_t edgeLength;
};

class RTCubeHandler : public Singleton<RTCubeHandler> {
public:
    RTCubeHandler();
    ~RTCubeHandler();

    static uint32_t Acquire(const CubeTargetDesc& desc);
    static CubeTargetEntry& GetTarget(uint32_t index);
    static void Release(uint32_t index);
    // Binds one face (0..5) to slot 0, and the framework's depth-stencil surface.
    static void BindCubeFace(uint32_t face, const CubeTargetEntry& entry);

    // As RTHandler's: around a device reset, behind the same indices, all free again.
    static void ReleaseDeviceObjects();
    static void RecreateDeviceObjects();

    static size_t Count() { return pool.size(); }

private:
    static void CreateTexture(CubeTargetEntry& entry);
    static void Clear();

    static inline std::vector<std::unique_ptr<CubeTargetEntry>> pool;
};
