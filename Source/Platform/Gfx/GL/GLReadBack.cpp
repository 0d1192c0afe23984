#include "Platform/Gfx/GL/GLReadBack.h"

#include <stdexcept>

#include "Platform/Gfx/Direct3D9.h"

GLImage GLReadSurface(IDirect3DSurface9& surface)
{
    GLImage image;
    if (FAILED(surface.Device().ReadRenderTarget(&surface, &image)))
        throw std::invalid_argument("[GLReadSurface]: not a colour surface of the device");
    return image;
}

GLImage GLReadBackBuffer(IDirect3DDevice9& device)
{
    return GLReadSurface(device.BackBuffer());
}
