#include "Platform/Gfx/GL/GLContext.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

namespace {

void RequestCoreContext(bool robust)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The window's own framebuffer only receives the finished picture: no depth, no samples.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    if (robust) {
        // Without reset notification a lost context is never reported, and Present could not
        // answer D3DERR_DEVICELOST.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_ROBUST_ACCESS_FLAG);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION, SDL_GL_CONTEXT_RESET_LOSE_CONTEXT);
    }
}

bool HasClipControl()
{
    return epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
}

bool HasResetStatus()
{
    return epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_KHR_robustness") ||
           epoxy_has_gl_extension("GL_ARB_robustness");
}

} // namespace

std::unique_ptr<GLContext> GLContext::Create(SDL_Window* window)
{
    if (!window) {
        return nullptr;
    }
    bool robust = true;
    RequestCoreContext(robust);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        robust = false;
        RequestCoreContext(robust);
        context = SDL_GL_CreateContext(window);
    }
    SDL_GL_ResetAttributes();
    if (!context) {
        return nullptr;
    }
    if (epoxy_gl_version() < 33 || !HasClipControl()) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Cube faces sample across their edges, as Direct3D 9 hardware does.
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    return std::unique_ptr<GLContext>(new GLContext(window, context, robust && HasResetStatus()));
}

GLContext::GLContext(SDL_Window* window, void* context, bool robust)
    : window_(window), windowId_(SDL_GetWindowID(window)), context_(context), robust_(robust)
{
}

GLContext::~GLContext()
{
    if (SDL_GL_GetCurrentContext() == context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
    }
    SDL_GL_DeleteContext(context_);
}

void GLContext::MakeCurrent() const
{
    // A window destroyed while the device lives has left the context current on a stand-in
    // (Window.cpp); the window itself must not be touched then.
    if (SDL_GL_GetCurrentContext() != context_ && SDL_GetWindowFromID(windowId_) == window_) {
        SDL_GL_MakeCurrent(window_, context_);
    }
}

bool GLContext::WasReset() const
{
    return robust_ && glGetGraphicsResetStatus() != GL_NO_ERROR;
}
