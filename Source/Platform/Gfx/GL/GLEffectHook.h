// What the GL backend's effect driver (GLEffectDriver.h) does beyond Direct3D's operations: it
// compiles the effect's GLSL programs and, for each pass, makes one current here. The pass's render
// states and textures come through the device's SetRenderState and SetTexture; the device applies
// the program and the states at its next draw.
//
// Conventions the effect layer's GLSL relies on:
// - Vertex inputs sit at the locations fx::FindStageSemantic gives (StageSemantics.h); a vertex
//   declaration's elements feed exactly those locations, and elements of other usages are unused.
// - Clip space is Direct3D's: y up, depth from 0 to 1 (the context uses glClipControl with the
//   upper-left origin and zero-to-one depth), so projections need no fix-up.
// - Facing: CullMode names the winding a triangle has in clip space (y up), as Direct3D does.
// - Texture images are stored top row first: texture coordinate v = 0 is the image's top row, as
//   in Direct3D, for textures loaded through locks and for render targets alike.
// - Texture units below the last one are the effect layer's; the backend uses only the last unit.
//
// Every call answers D3DERR_INVALIDCALL for a device of another backend, so that callers can try
// them on any device.
#pragma once

#include <optional>

#include <epoxy/gl.h>

#include "Platform/Gfx/GfxTypes.h"

// Whether the device renders through the GL backend.
bool IsGLDevice(IDirect3DDevice9& device);

// Makes the program current now (so that its uniforms can be set) and for the following draws;
// 0 leaves draws without a program, and they fail with D3DERR_INVALIDCALL.
HRESULT GLUseProgram(IDirect3DDevice9& device, GLuint program);

// The GL texture behind a texture of a GL device: its name and target (GL_TEXTURE_2D,
// GL_TEXTURE_CUBE_MAP or GL_TEXTURE_3D), for sampler parameters. Empty for another backend's.
struct GLTextureName {
    GLuint name;
    GLenum target;
};
std::optional<GLTextureName> GLTextureOf(const IDirect3DBaseTexture9& texture);
