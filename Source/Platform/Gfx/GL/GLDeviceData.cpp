#include "Platform/Gfx/GL/GLDeviceData.h"

#include <algorithm>

GLDeviceData::GLDeviceData(std::unique_ptr<GLContext> context) : context_(std::move(context))
{
    glGenFramebuffers(1, &targetFramebuffer);
    glGenFramebuffers(1, &readFramebuffer);
    glGenFramebuffers(1, &drawFramebuffer);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    GLint units = 1;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &units);
    scratchUnit = GL_TEXTURE0 + static_cast<GLenum>(units - 1);
}

GLDeviceData::~GLDeviceData()
{
    context_->MakeCurrent();
    copyProgram_.reset();
    glDeleteFramebuffers(1, &targetFramebuffer);
    glDeleteFramebuffers(1, &readFramebuffer);
    glDeleteFramebuffers(1, &drawFramebuffer);
    glDeleteFramebuffers(1, &resolveFramebuffer_);
    glDeleteRenderbuffers(1, &resolveRenderbuffer_);
    glDeleteVertexArrays(1, &vertexArray);
}

GLuint GLDeviceData::ResolveFramebuffer(UINT width, UINT height)
{
    if (width > resolveWidth_ || height > resolveHeight_) {
        if (!resolveFramebuffer_) {
            glGenFramebuffers(1, &resolveFramebuffer_);
            glGenRenderbuffers(1, &resolveRenderbuffer_);
        }
        resolveWidth_ = std::max(width, resolveWidth_);
        resolveHeight_ = std::max(height, resolveHeight_);
        glBindRenderbuffer(GL_RENDERBUFFER, resolveRenderbuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(resolveWidth_),
                              static_cast<GLsizei>(resolveHeight_));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveRenderbuffer_);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolveFramebuffer_);
    return resolveFramebuffer_;
}

GLCopyProgram& GLDeviceData::CopyProgram()
{
    if (!copyProgram_) {
        copyProgram_ = std::make_unique<GLCopyProgram>();
    }
    return *copyProgram_;
}
