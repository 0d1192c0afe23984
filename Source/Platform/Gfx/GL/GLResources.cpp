#include "Platform/Gfx/GL/GLResources.h"

#include "Platform/Gfx/GL/GLFormat.h"

GLTextureData::GLTextureData(GLContextToken context, GLenum target) : context(std::move(context)), target(target)
{
    glGenTextures(1, &name);
}

GLTextureData::~GLTextureData()
{
    if (context.expired()) {
        return;
    }
    glDeleteTextures(1, &name);
}

GLSurfaceData::GLSurfaceData(GLContextToken context, D3DFORMAT d3dFormat, UINT width, UINT height)
    : context(std::move(context)),
      d3dFormat(d3dFormat), format(FindGLFormat(d3dFormat)), width(width), height(height)
{
}

GLSurfaceData::~GLSurfaceData()
{
    if (context.expired()) {
        return;
    }
    if (renderbuffer) {
        glDeleteRenderbuffers(1, &renderbuffer);
    }
    for (const GLCompanionDepth& companion : companions) {
        glDeleteRenderbuffers(1, &companion.renderbuffer);
    }
}

bool GLSurfaceData::MakeRenderbuffer(int requestedSamples)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, requestedSamples, format->internalFormat,
                                     static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    // GL may give more samples than asked; targets are paired by the count they really have.
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &samples);
    return glGetError() == GL_NO_ERROR;
}

GLVolumeData::GLVolumeData(GLuint texture, GLint level, D3DFORMAT d3dFormat, UINT width, UINT height, UINT depth)
    : texture(texture),
      level(level),
      d3dFormat(d3dFormat),
      format(FindGLFormat(d3dFormat)),
      width(width),
      height(height),
      depth(depth)
{
}

GLBufferData::GLBufferData(GLContextToken context, UINT length) : context(std::move(context)), bytes(length)
{
    glGenBuffers(1, &name);
}

GLBufferData::~GLBufferData()
{
    if (context.expired()) {
        return;
    }
    glDeleteBuffers(1, &name);
}
