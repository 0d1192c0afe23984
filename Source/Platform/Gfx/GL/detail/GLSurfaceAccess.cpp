#include "Platform/Gfx/GL/detail/GLSurfaceAccess.h"

#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLResources.h"

void AttachSurface(GLenum framebuffer, GLenum attachment, const GLSurfaceData* surface)
{
    if (!surface) {
        glFramebufferRenderbuffer(framebuffer, attachment, GL_RENDERBUFFER, 0);
    } else if (surface->renderbuffer) {
        glFramebufferRenderbuffer(framebuffer, attachment, GL_RENDERBUFFER, surface->renderbuffer);
    } else {
        glFramebufferTexture2D(framebuffer, attachment, surface->imageTarget, surface->texture, surface->level);
    }
}

void BindColourForRead(GLDeviceData& device, const GLSurfaceData& surface)
{
    device.state.PrepareCopy();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, device.readFramebuffer);
    AttachSurface(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, &surface);
    if (surface.samples == 0) {
        return;
    }
    const auto width = static_cast<GLint>(surface.width);
    const auto height = static_cast<GLint>(surface.height);
    const GLuint resolved = device.ResolveFramebuffer(surface.width, surface.height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, device.readFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved);
}
