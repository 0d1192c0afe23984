// How each Direct3D format is stored in GL: its internal format, how its bytes travel in locks
// (Direct3D's memory layout, so that locked bytes go up and come back unchanged) and the swizzle
// that makes sampling read what Direct3D reads (X8 alpha as 1, L8 as grey, missing float
// channels as 1).
#pragma once

#include <array>

#include <epoxy/gl.h>

#include "Platform/Gfx/GfxTypes.h"

struct GLFormat {
    GLenum internalFormat;
    GLenum transferFormat;
    GLenum transferType;
    std::array<GLint, 4> swizzle;
    // A colour format that can be a render target (and blends and multisamples there).
    bool renderable;
};

// Null for a format the backend does not store.
const GLFormat* FindGLFormat(D3DFORMAT format);

// The framebuffer attachment point of a depth format: depth-stencil where it has stencil.
GLenum DepthAttachmentOf(D3DFORMAT format);
