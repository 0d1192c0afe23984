// Reading a GL device's pixels back, for tests: the device's ReadRenderTarget, raising where it
// refuses.
#pragma once

#include "Platform/Gfx/ReadBackImage.h"

using GLImage = ReadBackImage;

// A colour surface of the device: the back buffer, a render target texture level. Throws
// std::invalid_argument for a surface the device refuses to read (a depth surface, another
// device's).
GLImage GLReadSurface(IDirect3DSurface9& surface);

// The back buffer as it stands (before Present shows it).
GLImage GLReadBackBuffer(IDirect3DDevice9& device);
