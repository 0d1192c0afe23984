// An object that a Recorder backend still stores, as the Recorder reports it: what it is, how
// many references callers still hold on it and what it was made as.
#pragma once

#include "Platform/Gfx/GfxTypes.h"

class Unknown;

enum class ObjectKind {
    Device,
    Surface,
    Texture,
    CubeTexture,
    VolumeTexture,
    VertexBuffer,
    IndexBuffer,
    VertexDeclaration,
};

const char* ObjectKindName(ObjectKind kind);

struct LiveObject {
    ObjectKind kind;
    const Unknown* object;
    // 0 for an object that only the device keeps, because it is still bound.
    ULONG callerReferences;
    // Vertex declarations, which survive a Reset, report D3DPOOL_MANAGED.
    D3DPOOL pool = D3DPOOL_DEFAULT;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    DWORD usage = 0;
    // Buffers: width is the length in bytes. Cube textures: the edge. Devices: the back buffer.
    UINT width = 0;
    UINT height = 0;
    UINT depth = 0;
};
