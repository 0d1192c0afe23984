// What the GL backend keeps for a device: its context and the GL objects every operation shares
// (the framebuffer that holds the bound targets, two for copies, the back buffer's resolve
// buffer, the vertex array), the pass state, and the dirty flags of the bindings. Made by
// CreateDevice; its destructor deletes the objects and then the context.
#pragma once

#include <cstdint>
#include <memory>

#include <epoxy/gl.h>

#include "Platform/Gfx/BackendData.h"
#include "Platform/Gfx/GL/GLContext.h"
#include "Platform/Gfx/GL/GLResources.h"
#include "Platform/Gfx/GL/GLState.h"
#include "Platform/Gfx/GL/detail/GLCopyProgram.h"
#include "Platform/Gfx/GfxTypes.h"

class GLDeviceData final : public BackendData {
public:
    explicit GLDeviceData(std::unique_ptr<GLContext> context);
    ~GLDeviceData() override;
    GLDeviceData(const GLDeviceData&) = delete;
    GLDeviceData& operator=(const GLDeviceData&) = delete;

    const GLContext& Context() const { return *context_; }
    // For the resources made in this context (GLResources.h).
    GLContextToken Token() const { return context_; }

    // A single-sampled framebuffer of at least width x height into which multisampled images are
    // resolved (a multisample blit can neither scale nor flip); bound for reading on return.
    GLuint ResolveFramebuffer(UINT width, UINT height);
    // Made on first need.
    GLCopyProgram& CopyProgram();

    GLuint targetFramebuffer = 0;
    GLuint readFramebuffer = 0;
    GLuint drawFramebuffer = 0;
    GLuint vertexArray = 0;
    // A scratch texture unit for uploads and read-backs, above those the effect layer binds.
    GLenum scratchUnit = GL_TEXTURE0;

    GLState state;
    GLuint program = 0;
    bool targetsDirty = true;
    bool geometryDirty = true;
    // The vertex attribute locations the last draw enabled, a bit each.
    uint32_t enabledAttributes = 0;
    // A context reset was seen; Reset makes a new context.
    bool lost = false;

private:
    std::shared_ptr<const GLContext> context_;
    std::unique_ptr<GLCopyProgram> copyProgram_;
    GLuint resolveFramebuffer_ = 0;
    GLuint resolveRenderbuffer_ = 0;
    UINT resolveWidth_ = 0;
    UINT resolveHeight_ = 0;
};
