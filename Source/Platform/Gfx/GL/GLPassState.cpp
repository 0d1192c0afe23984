// What an effect pass sets on a GL device: render states (applied at the next draw), textures on
// the effect's sampler units, and the driver that runs the effect's programs.
#include "Platform/Gfx/GL/GLBackend.h"

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLEffectDriver.h"
#include "Platform/Gfx/GL/GLResources.h"

HRESULT GLBackend::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    // The front has checked the state and its value against the same list.
    return Data().state.Set(State, Value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GLBackend::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    GLDeviceData& data = Data();
    const GLTextureData* gl = pTexture ? pTexture->Backend().Find<GLTextureData>() : nullptr;
    if ((pTexture && !gl) || GL_TEXTURE0 + Stage >= data.scratchUnit) {
        return D3DERR_INVALIDCALL;
    }
    glActiveTexture(GL_TEXTURE0 + Stage);
    if (gl) {
        glBindTexture(gl->target, gl->name);
    } else {
        for (const GLenum target : {GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D}) {
            glBindTexture(target, 0);
        }
    }
    return D3D_OK;
}

HRESULT GLBackend::CreateEffectDriver(const fx::EffectDescription* pDescription, fx::EffectDriver** ppDriver,
                                      std::string* pMessages)
{
    std::unique_ptr<fx::GLEffectDriver> driver = fx::GLEffectDriver::Make(*device_, *pDescription, *pMessages);
    if (!driver) {
        return E_FAIL;
    }
    *ppDriver = driver.release();
    return D3D_OK;
}
