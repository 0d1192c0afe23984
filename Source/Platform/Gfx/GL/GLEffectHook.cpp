#include "Platform/Gfx/GL/GLEffectHook.h"

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLResources.h"

namespace {

GLDeviceData* DataOf(IDirect3DDevice9& device)
{
    return device.Backend().Find<GLDeviceData>();
}

} // namespace

bool IsGLDevice(IDirect3DDevice9& device)
{
    return DataOf(device) != nullptr;
}

HRESULT GLUseProgram(IDirect3DDevice9& device, GLuint program)
{
    GLDeviceData* data = DataOf(device);
    if (!data) {
        return D3DERR_INVALIDCALL;
    }
    data->program = program;
    glUseProgram(program);
    return D3D_OK;
}

std::optional<GLTextureName> GLTextureOf(const IDirect3DBaseTexture9& texture)
{
    const GLTextureData* gl = texture.Backend().Find<GLTextureData>();
    if (!gl) {
        return std::nullopt;
    }
    return GLTextureName{gl->name, gl->target};
}
