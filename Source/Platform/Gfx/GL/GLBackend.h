// The OpenGL 3.3 core backend: Direct3D 9's operations on one GL context per device, on the
// device window's SDL window.
//
// Conventions every part of it keeps:
// - Clip control puts GL's origin at the upper left with depth in [0, 1]: memory row 0 of every GL
//   image is Direct3D's top row. Viewports, scissors, lock rectangles, copy rectangles and
//   read-backs use Direct3D's y as it is; only Present flips, once, into the window.
// - Winding: GL judges facing in clip space (y up) under that origin, which is how Direct3D's
//   cull modes name windings; CullMode CCW culls what is counter-clockwise there.
// - The back buffer is a renderbuffer of our own (multisampled when asked), resolved at Present.
// - A depth surface whose sample count differs from the bound colour targets' is replaced, for
//   those targets, by a companion depth buffer of their count and at least their size, kept with
//   the depth surface and made on first need. Depth written through one is not seen through the
//   other.
// - Bindings live in the front device; setters only mark them dirty, and clears and draws attach
//   and apply what changed.
#pragma once

#include <epoxy/gl.h>

#include "Platform/Gfx/GL/GLAdapter.h"
#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/Op.h"
#include "Platform/Window/WinTypes.h"

class GLDeviceData;
class GLSurfaceData;

class GLBackend final : public GfxBackend {
public:
    uint32_t WindowStyle() const override { return WS_EX_OPENGL; }

#define OP(result, name, params, args) result name params override;
#include "Platform/Gfx/GfxOps.inc"
#undef OP

private:
    GLDeviceData& Data() const;
    HRESULT CheckBackBuffer(const D3DPRESENT_PARAMETERS& parameters);
    HRESULT AttachBackBuffer(const D3DPRESENT_PARAMETERS& parameters);
    // Binds the target framebuffer; when the bound targets changed, attaches them and checks that
    // GL can draw into them. An incomplete framebuffer refuses the call (a draw or a clear), naming
    // the attachment at fault, and is attached and checked again at the next one.
    HRESULT BindTargets(Op call);
    // Points the vertex attributes at the bound streams and binds the indices, where they changed.
    void BindGeometry();
    // StretchRect's three ways: depth copies, blits, and draws (into multisampled surfaces).
    void CopyDepth(const GLSurfaceData& from, const GLSurfaceData& to);
    void BlitColour(const GLSurfaceData& from, const RECT& source, const GLSurfaceData& to, const RECT& dest,
                    bool linear);
    void DrawColour(const GLSurfaceData& from, const RECT& source, const GLSurfaceData& to, const RECT& dest,
                    bool linear);
    GLuint DepthBufferFor(GLSurfaceData& depth, int samples, UINT width, UINT height);

    GLAdapter adapter_;
    // The device this backend serves, from the last CreateDevice; read only by its own calls.
    IDirect3DDevice9* device_ = nullptr;
};
