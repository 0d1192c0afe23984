#include "Platform/Gfx/GL/GLFormat.h"

#include <utility>

#include "Platform/Gfx/FormatInfo.h"

namespace {

constexpr std::array<GLint, 4> kIdentity{GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
constexpr std::array<GLint, 4> kOpaque{GL_RED, GL_GREEN, GL_BLUE, GL_ONE};
constexpr std::array<GLint, 4> kLuminance{GL_RED, GL_RED, GL_RED, GL_ONE};
constexpr std::array<GLint, 4> kAlphaOnly{GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
constexpr std::array<GLint, 4> kRedOnly{GL_RED, GL_ONE, GL_ONE, GL_ONE};
constexpr std::array<GLint, 4> kRedGreen{GL_RED, GL_GREEN, GL_ONE, GL_ONE};

// A8R8G8B8 is the bytes B, G, R, A in memory: GL's BGRA order for unsigned bytes.
constexpr std::pair<D3DFORMAT, GLFormat> kFormats[] = {
    {D3DFMT_A8R8G8B8, {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, kIdentity, true}},
    {D3DFMT_X8R8G8B8, {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, kOpaque, true}},
    {D3DFMT_A8B8G8R8, {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, kIdentity, true}},
    {D3DFMT_X8B8G8R8, {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, kOpaque, true}},
    {D3DFMT_A8, {GL_R8, GL_RED, GL_UNSIGNED_BYTE, kAlphaOnly, false}},
    {D3DFMT_L8, {GL_R8, GL_RED, GL_UNSIGNED_BYTE, kLuminance, false}},
    {D3DFMT_R16F, {GL_R16F, GL_RED, GL_HALF_FLOAT, kRedOnly, true}},
    {D3DFMT_G16R16F, {GL_RG16F, GL_RG, GL_HALF_FLOAT, kRedGreen, true}},
    {D3DFMT_A16B16G16R16F, {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, kIdentity, true}},
    {D3DFMT_R32F, {GL_R32F, GL_RED, GL_FLOAT, kRedOnly, true}},
    {D3DFMT_G32R32F, {GL_RG32F, GL_RG, GL_FLOAT, kRedGreen, true}},
    {D3DFMT_A32B32G32R32F, {GL_RGBA32F, GL_RGBA, GL_FLOAT, kIdentity, true}},
    {D3DFMT_D16, {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kIdentity, false}},
    {D3DFMT_D24X8, {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, kIdentity, false}},
    {D3DFMT_D24S8, {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, kIdentity, false}},
};

} // namespace

const GLFormat* FindGLFormat(D3DFORMAT format)
{
    for (const auto& [known, gl] : kFormats) {
        if (known == format) {
            return &gl;
        }
    }
    return nullptr;
}

GLenum DepthAttachmentOf(D3DFORMAT format)
{
    const FormatInfo* info = DescribeFormat(format);
    return info && info->hasStencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
}
