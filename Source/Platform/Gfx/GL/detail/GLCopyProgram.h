// Copies a rectangle of a 2D texture level into a rectangle of the bound draw framebuffer by
// drawing it, scaled with point or linear filtering. GL cannot blit into a multisampled image, so
// copies into the multisampled back buffer go this way.
#pragma once

#include <epoxy/gl.h>

#include "Platform/Gfx/GfxTypes.h"

class GLCopyProgram {
public:
    GLCopyProgram();
    ~GLCopyProgram();
    GLCopyProgram(const GLCopyProgram&) = delete;
    GLCopyProgram& operator=(const GLCopyProgram&) = delete;

    // Leaves GL's program, vertex array, viewport, blending, depth, culling and the texture on
    // `unit` changed: callers re-apply their own.
    void Copy(GLuint texture, GLint level, UINT textureWidth, UINT textureHeight, const RECT& source, const RECT& dest,
              bool linear, GLenum unit);

private:
    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    GLuint pointSampler_ = 0;
    GLuint linearSampler_ = 0;
    GLint sourceRect_ = -1;
    GLint level_ = -1;
    GLint image_ = -1;
};
