// What is bound to a device: render targets, depth-stencil surface, viewport, vertex streams,
// indices, vertex declaration and sampler textures, and whether a scene is open. The front device keeps it (and the
// holds that keep bound objects alive); backends read it when they draw, clear or present.
#pragma once

#include <array>

#include "Platform/Gfx/GfxTypes.h"

constexpr DWORD kMaxRenderTargets = 4;
// Sampler stages an effect pass may bind textures to (a pixel shader's sixteen samplers).
constexpr DWORD kMaxTextureStages = 16;

struct StreamSource {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
};

struct DeviceState {
    std::array<IDirect3DSurface9*, kMaxRenderTargets> renderTargets{};
    IDirect3DSurface9* depthStencil = nullptr;
    D3DVIEWPORT9 viewport;
    std::array<StreamSource, MAXD3DDECLSTREAMS> streams{};
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* vertexDeclaration = nullptr;
    // Unlike the other bindings these keep no hold: a texture's destruction unbinds it.
    std::array<IDirect3DBaseTexture9*, kMaxTextureStages> textures{};
    bool inScene = false;
};
