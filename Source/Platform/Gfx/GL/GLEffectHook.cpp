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

HRESULT GLSetRenderState(IDirect3DDevice9& device, DWORD state, DWORD value)
{
    GLDeviceData* data = DataOf(device);
    return data && data->state.Set(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GLGetRenderState(IDirect3DDevice9& device, DWORD state, DWORD* value)
{
    GLDeviceData* data = DataOf(device);
    return data && value && data->state.Get(state, *value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GLSetTexture(IDirect3DDevice9& device, DWORD unit, IDirect3DBaseTexture9* texture)
{
    GLDeviceData* data = DataOf(device);
    const GLTextureData* gl = texture ? texture->Backend().Find<GLTextureData>() : nullptr;
    if (!data || (texture && !gl) || GL_TEXTURE0 + unit >= data->scratchUnit) {
        return D3DERR_INVALIDCALL;
    }
    glActiveTexture(GL_TEXTURE0 + unit);
    if (gl) {
        glBindTexture(gl->target, gl->name);
    } else {
        for (const GLenum target : {GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D}) {
            glBindTexture(target, 0);
        }
    }
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
