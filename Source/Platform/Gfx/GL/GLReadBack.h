// Reading a GL device's pixels back, for tests and capture: an image as BGRA bytes (A8R8G8B8's
// memory layout), top row first, multisampled images resolved first. Formats without alpha read
// back opaque.
#pragma once

#include <cstdint>
#include <vector>

#include "Platform/Gfx/GfxTypes.h"

struct GLImage {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint8_t> bgra; // width * 4 bytes a row
};

// A colour surface of a GL device: the back buffer, a render target texture level. Throws
// std::invalid_argument for a surface of another backend or a depth surface.
GLImage GLReadSurface(IDirect3DSurface9& surface);

// The back buffer as it stands (before Present shows it).
GLImage GLReadBackBuffer(IDirect3DDevice9& device);
