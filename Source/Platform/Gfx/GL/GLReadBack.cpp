#include "Platform/Gfx/GL/GLReadBack.h"

#include <stdexcept>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLFormat.h"
#include "Platform/Gfx/GL/GLResources.h"
#include "Platform/Gfx/GL/detail/GLSurfaceAccess.h"

GLImage GLReadSurface(IDirect3DSurface9& surface)
{
    const GLSurfaceData* data = surface.Backend().Find<GLSurfaceData>();
    GLDeviceData* device = surface.Device().Backend().Find<GLDeviceData>();
    if (!data || !device || !IsColourFormat(data->d3dFormat)) {
        throw std::invalid_argument("[GLReadSurface]: not a colour surface of a GL device");
    }
    GLImage image{data->width, data->height, std::vector<uint8_t>(size_t{data->width} * data->height * 4)};
    BindColourForRead(*device, *data);
    glReadPixels(0, 0, static_cast<GLsizei>(data->width), static_cast<GLsizei>(data->height), GL_BGRA,
                 GL_UNSIGNED_BYTE, image.bgra.data());
    if (data->format->swizzle[3] == GL_ONE) {
        for (size_t alpha = 3; alpha < image.bgra.size(); alpha += 4) {
            image.bgra[alpha] = 0xFF;
        }
    }
    return image;
}

GLImage GLReadBackBuffer(IDirect3DDevice9& device)
{
    return GLReadSurface(device.BackBuffer());
}
