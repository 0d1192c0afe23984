// What the GL backend attaches to the front objects: the GL names behind textures, surfaces,
// volumes, buffers and vertex declarations. Each owns the names it made and deletes them with
// itself; the device's context is current whenever a front object goes (the device outlives its
// resources). Each also remembers the context its names belong to: an object that outlives a
// context reset leaves its names alone, since they may by then name the new context's objects.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include <epoxy/gl.h>

#include "Platform/Gfx/BackendData.h"
#include "Platform/Gfx/GfxTypes.h"

class GLContext;
struct GLFormat;

using GLContextToken = std::weak_ptr<const GLContext>;

// A texture of any kind: one GL texture object.
class GLTextureData final : public BackendData {
public:
    GLTextureData(GLContextToken context, GLenum target);
    ~GLTextureData() override;
    GLTextureData(const GLTextureData&) = delete;
    GLTextureData& operator=(const GLTextureData&) = delete;

    GLContextToken context;
    GLuint name = 0;
    GLenum target;
};

// A depth buffer made for colour targets of another sample count than the depth surface's own.
struct GLCompanionDepth {
    GLuint renderbuffer = 0;
    int samples = 0;
    UINT width = 0;
    UINT height = 0;
};

// A surface: a level (or cube face level) of a texture, whose name the texture owns, or a
// renderbuffer of its own (the back buffer, depth-stencil surfaces).
class GLSurfaceData final : public BackendData {
public:
    GLSurfaceData(GLContextToken context, D3DFORMAT d3dFormat, UINT width, UINT height);
    ~GLSurfaceData() override;
    GLSurfaceData(const GLSurfaceData&) = delete;
    GLSurfaceData& operator=(const GLSurfaceData&) = delete;

    // Makes the surface a renderbuffer with (at least) the given sample count; false when GL
    // could not allocate it.
    bool MakeRenderbuffer(int requestedSamples);

    GLContextToken context;
    D3DFORMAT d3dFormat;
    const GLFormat* format;
    UINT width;
    UINT height;
    // A texture level: the texture, its binding target, the image target (a cube face) and level.
    GLuint texture = 0;
    GLenum bindTarget = GL_TEXTURE_2D;
    GLenum imageTarget = GL_TEXTURE_2D;
    GLint level = 0;
    // Or a renderbuffer with its real sample count (0: single-sampled).
    GLuint renderbuffer = 0;
    int samples = 0;

    // The lock in progress: the whole image's bytes (Direct3D's layout, top row first), the
    // locked rectangle and whether it goes back up at unlock.
    std::vector<BYTE> lockBytes;
    RECT lockRect{};
    bool lockWrites = false;

    // Depth surfaces only, made on first need.
    std::vector<GLCompanionDepth> companions;
};

// A level of a volume texture, whose name the texture owns.
class GLVolumeData final : public BackendData {
public:
    GLVolumeData(GLuint texture, GLint level, D3DFORMAT d3dFormat, UINT width, UINT height, UINT depth);

    GLuint texture;
    GLint level;
    D3DFORMAT d3dFormat;
    const GLFormat* format;
    UINT width;
    UINT height;
    UINT depth;

    std::vector<BYTE> lockBytes;
    D3DBOX lockBox{};
    bool lockWrites = false;
};

// A vertex or index buffer: a GL buffer object and the copy that locks hand out, uploaded at
// unlock.
class GLBufferData final : public BackendData {
public:
    GLBufferData(GLContextToken context, UINT length);
    ~GLBufferData() override;
    GLBufferData(const GLBufferData&) = delete;
    GLBufferData& operator=(const GLBufferData&) = delete;

    GLContextToken context;
    GLuint name = 0;
    std::vector<BYTE> bytes;
    UINT lockOffset = 0;
    UINT lockSize = 0;
    DWORD lockFlags = 0;
};

// A vertex declaration as GL attribute formats, at the locations the effect layer gives every
// vertex input.
class GLDeclarationData final : public BackendData {
public:
    struct Attribute {
        GLuint location;
        UINT stream;
        UINT offset;
        GLint size;
        GLenum type;
        GLboolean normalized;
    };

    std::vector<Attribute> attributes;
};
