// The GL backend's targets: attaching the bound surfaces, clears inside the viewport, and copies
// between surfaces.
#include "Platform/Gfx/GL/GLBackend.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLFormat.h"
#include "Platform/Gfx/GL/GLResources.h"
#include "Platform/Gfx/GL/detail/GLSurfaceAccess.h"

namespace {

struct Area {
    GLint x;
    GLint y;
    GLsizei width;
    GLsizei height;
};

// Direct3D clears the viewport, or the parts of the rectangles inside it.
std::vector<Area> ClearAreas(const D3DVIEWPORT9& viewport, DWORD count, const D3DRECT* rects)
{
    const LONG left = static_cast<LONG>(viewport.X);
    const LONG top = static_cast<LONG>(viewport.Y);
    const LONG right = left + static_cast<LONG>(viewport.Width);
    const LONG bottom = top + static_cast<LONG>(viewport.Height);
    if (!rects) {
        return {{left, top, right - left, bottom - top}};
    }
    std::vector<Area> areas;
    for (DWORD i = 0; i < count; ++i) {
        const LONG x1 = std::max(left, rects[i].x1);
        const LONG y1 = std::max(top, rects[i].y1);
        const LONG x2 = std::min(right, rects[i].x2);
        const LONG y2 = std::min(bottom, rects[i].y2);
        if (x1 < x2 && y1 < y2) {
            areas.push_back({x1, y1, x2 - x1, y2 - y1});
        }
    }
    return areas;
}

std::array<GLfloat, 4> ColourOf(D3DCOLOR colour)
{
    return {D3DCOLOR_R(colour) / 255.0f, D3DCOLOR_G(colour) / 255.0f, D3DCOLOR_B(colour) / 255.0f,
            D3DCOLOR_A(colour) / 255.0f};
}

RECT WholeOf(const GLSurfaceData& surface)
{
    return {0, 0, static_cast<LONG>(surface.width), static_cast<LONG>(surface.height)};
}

// One attachment of the target framebuffer: a surface, or the renderbuffer standing in for a
// depth surface of another sample count.
struct TargetAttachment {
    GLenum attachment;
    const GLSurfaceData* surface;
    GLuint companion;
    int samples;
};

bool IsColour(GLenum attachment)
{
    return attachment >= GL_COLOR_ATTACHMENT0 && attachment < GL_COLOR_ATTACHMENT0 + kMaxRenderTargets;
}

void Attach(const TargetAttachment& entry, bool attached)
{
    if (entry.companion) {
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, entry.attachment, GL_RENDERBUFFER,
                                  attached ? entry.companion : 0);
    } else {
        AttachSurface(GL_DRAW_FRAMEBUFFER, entry.attachment, attached ? entry.surface : nullptr);
    }
}

const char* FramebufferStatusName(GLenum status)
{
    switch (status) {
    case GL_FRAMEBUFFER_UNDEFINED: return "GL_FRAMEBUFFER_UNDEFINED";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT: return "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT: return "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER: return "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER: return "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER";
    case GL_FRAMEBUFFER_UNSUPPORTED: return "GL_FRAMEBUFFER_UNSUPPORTED";
    case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE: return "GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE";
    case GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS: return "GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS";
    default: return "an unknown framebuffer status";
    }
}

std::string DescribeAttachment(const TargetAttachment& entry)
{
    std::string text = IsColour(entry.attachment)
                           ? "colour slot " + std::to_string(entry.attachment - GL_COLOR_ATTACHMENT0)
                           : std::string("depth-stencil");
    text += std::string(" (") + FormatName(entry.surface->d3dFormat) + ", " + std::to_string(entry.surface->width) +
            " x " + std::to_string(entry.surface->height) + ", ";
    text += entry.samples > 0 ? std::to_string(entry.samples) + " samples)" : "single-sampled)";
    return text;
}

// GL's status and the attachment at fault: the one without which the framebuffer is complete, found
// by taking each out in turn, the last first, since the others join the first render target (the
// attachments are made again at the next draw or clear).
std::string DescribeIncompleteFramebuffer(GLenum status, const std::vector<TargetAttachment>& attached,
                                          std::array<GLenum, kMaxRenderTargets> drawBuffers)
{
    const TargetAttachment* fault = nullptr;
    for (size_t i = attached.size(); i-- > 0 && attached.size() > 1 && !fault;) {
        const TargetAttachment& entry = attached[i];
        Attach(entry, false);
        std::array<GLenum, kMaxRenderTargets> without = drawBuffers;
        if (IsColour(entry.attachment)) {
            without[entry.attachment - GL_COLOR_ATTACHMENT0] = GL_NONE;
        }
        glDrawBuffers(static_cast<GLsizei>(without.size()), without.data());
        const bool completeWithout = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        Attach(entry, true);
        fault = completeWithout ? &entry : nullptr;
    }
    glDrawBuffers(static_cast<GLsizei>(drawBuffers.size()), drawBuffers.data());
    std::string text = std::string(FramebufferStatusName(status)) + ": ";
    text += fault ? DescribeAttachment(*fault) + " is at fault" : std::string("no one attachment is at fault");
    text += "; attached:";
    for (const TargetAttachment& entry : attached) {
        text += " " + DescribeAttachment(entry) + (&entry == &attached.back() ? "" : ",");
    }
    return text;
}

} // namespace

GLuint GLBackend::DepthBufferFor(GLSurfaceData& depth, int samples, UINT width, UINT height)
{
    for (const GLCompanionDepth& companion : depth.companions) {
        if (companion.samples == samples && companion.width >= width && companion.height >= height) {
            return companion.renderbuffer;
        }
    }
    // One companion per sample count, grown to the largest target it has served.
    auto same = std::find_if(depth.companions.begin(), depth.companions.end(),
                             [&](const GLCompanionDepth& companion) { return companion.samples == samples; });
    if (same == depth.companions.end()) {
        same = depth.companions.insert(depth.companions.end(), GLCompanionDepth{0, samples, 0, 0});
        glGenRenderbuffers(1, &same->renderbuffer);
    }
    same->width = std::max({same->width, width, depth.width});
    same->height = std::max({same->height, height, depth.height});
    glBindRenderbuffer(GL_RENDERBUFFER, same->renderbuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, depth.format->internalFormat,
                                     static_cast<GLsizei>(same->width), static_cast<GLsizei>(same->height));
    return same->renderbuffer;
}

HRESULT GLBackend::BindTargets(Op call)
{
    GLDeviceData& data = Data();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, data.targetFramebuffer);
    if (!data.targetsDirty) {
        return D3D_OK;
    }
    const DeviceState& state = device_->State();
    std::vector<TargetAttachment> attached;
    std::array<GLenum, kMaxRenderTargets> drawBuffers{};
    const GLSurfaceData* first = nullptr;
    for (GLuint slot = 0; slot < kMaxRenderTargets; ++slot) {
        const IDirect3DSurface9* target = state.renderTargets[slot];
        const GLSurfaceData* surface = target ? &target->Backend().As<GLSurfaceData>() : nullptr;
        AttachSurface(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + slot, surface);
        drawBuffers[slot] = surface ? GL_COLOR_ATTACHMENT0 + slot : GL_NONE;
        if (surface) {
            attached.push_back({GL_COLOR_ATTACHMENT0 + slot, surface, 0, surface->samples});
            first = first ? first : surface;
        }
    }
    glDrawBuffers(static_cast<GLsizei>(drawBuffers.size()), drawBuffers.data());

    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    if (state.depthStencil && first) {
        auto& depth = state.depthStencil->Backend().As<GLSurfaceData>();
        const GLenum attachment = DepthAttachmentOf(depth.d3dFormat);
        if (depth.samples == first->samples) {
            AttachSurface(GL_DRAW_FRAMEBUFFER, attachment, &depth);
            attached.push_back({attachment, &depth, 0, depth.samples});
        } else {
            const GLuint companion = DepthBufferFor(depth, first->samples, first->width, first->height);
            glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, attachment, GL_RENDERBUFFER, companion);
            attached.push_back({attachment, &depth, companion, first->samples});
        }
    }
    // Asked only when the attachments changed, so a frame that keeps its targets never waits on it.
    if (const GLenum status = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER); status != GL_FRAMEBUFFER_COMPLETE) {
        return device_->Refuse(call, FrontCheck::IncompleteFramebuffer,
                               DescribeIncompleteFramebuffer(status, attached, drawBuffers));
    }
    data.targetsDirty = false;
    return D3D_OK;
}

HRESULT GLBackend::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil)
{
    GLDeviceData& data = Data();
    if (const HRESULT hr = BindTargets(Op::Clear); FAILED(hr)) {
        return hr;
    }
    data.state.PrepareClear();
    const DeviceState& state = device_->State();
    const std::array<GLfloat, 4> colour = ColourOf(Color);
    const auto stencil = static_cast<GLint>(Stencil);
    const bool depth = Flags & D3DCLEAR_ZBUFFER;
    const bool stencilToo = (Flags & D3DCLEAR_STENCIL) && state.depthStencil &&
                            DescribeFormat(state.depthStencil->Desc().Format)->hasStencil;
    for (const Area& area : ClearAreas(state.viewport, Count, pRects)) {
        glScissor(area.x, area.y, area.width, area.height);
        if (Flags & D3DCLEAR_TARGET) {
            for (GLint slot = 0; slot < static_cast<GLint>(kMaxRenderTargets); ++slot) {
                if (state.renderTargets[slot]) {
                    glClearBufferfv(GL_COLOR, slot, colour.data());
                }
            }
        }
        if (depth && stencilToo) {
            glClearBufferfi(GL_DEPTH_STENCIL, 0, Z, stencil);
        } else if (depth) {
            glClearBufferfv(GL_DEPTH, 0, &Z);
        } else if (stencilToo) {
            glClearBufferiv(GL_STENCIL, 0, &stencil);
        }
    }
    return D3D_OK;
}

HRESULT GLBackend::SetViewport(const D3DVIEWPORT9*)
{
    return D3D_OK;
}

HRESULT GLBackend::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9*)
{
    if (RenderTargetIndex >= adapter_.Limits()->maxDrawBuffers) {
        return device_->Refuse(Op::SetRenderTarget, FrontCheck::SlotOutOfRange);
    }
    Data().targetsDirty = true;
    return D3D_OK;
}

HRESULT GLBackend::SetDepthStencilSurface(IDirect3DSurface9*)
{
    Data().targetsDirty = true;
    return D3D_OK;
}

HRESULT GLBackend::StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                               IDirect3DSurface9* pDestSurface, const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter)
{
    const auto& from = pSourceSurface->Backend().As<GLSurfaceData>();
    const auto& to = pDestSurface->Backend().As<GLSurfaceData>();
    const RECT source = pSourceRect ? *pSourceRect : WholeOf(from);
    const RECT dest = pDestRect ? *pDestRect : WholeOf(to);
    if (IsDepthFormat(from.d3dFormat)) {
        CopyDepth(from, to);
    } else if (to.samples > 0) {
        DrawColour(from, source, to, dest, Filter == D3DTEXF_LINEAR);
    } else {
        BlitColour(from, source, to, dest, Filter == D3DTEXF_LINEAR);
    }
    return D3D_OK;
}

HRESULT GLBackend::ReadRenderTarget(IDirect3DSurface9* pRenderTarget, BYTE* pBGRA)
{
    const auto& surface = pRenderTarget->Backend().As<GLSurfaceData>();
    BindColourForRead(Data(), surface);
    glReadPixels(0, 0, static_cast<GLsizei>(surface.width), static_cast<GLsizei>(surface.height), GL_BGRA,
                 GL_UNSIGNED_BYTE, pBGRA);
    if (surface.format->swizzle[3] == GL_ONE) {
        const size_t size = size_t{surface.width} * surface.height * 4;
        for (size_t alpha = 3; alpha < size; alpha += 4)
            pBGRA[alpha] = 0xFF;
    }
    return D3D_OK;
}

void GLBackend::CopyDepth(const GLSurfaceData& from, const GLSurfaceData& to)
{
    // Whole, equal depth surfaces only (the front checks): a straight copy of every sample.
    GLDeviceData& data = Data();
    data.state.PrepareCopy();
    const GLenum attachment = DepthAttachmentOf(from.d3dFormat);
    const GLbitfield mask =
        GL_DEPTH_BUFFER_BIT | (attachment == GL_DEPTH_STENCIL_ATTACHMENT ? GL_STENCIL_BUFFER_BIT : 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, data.readFramebuffer);
    AttachSurface(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, nullptr);
    AttachSurface(GL_READ_FRAMEBUFFER, attachment, &from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, data.drawFramebuffer);
    AttachSurface(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, nullptr);
    AttachSurface(GL_DRAW_FRAMEBUFFER, attachment, &to);
    const auto width = static_cast<GLint>(from.width);
    const auto height = static_cast<GLint>(from.height);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, mask, GL_NEAREST);
    // The copy framebuffers hold colour only between copies.
    AttachSurface(GL_READ_FRAMEBUFFER, attachment, nullptr);
    AttachSurface(GL_DRAW_FRAMEBUFFER, attachment, nullptr);
}

void GLBackend::BlitColour(const GLSurfaceData& from, const RECT& source, const GLSurfaceData& to, const RECT& dest,
                           bool linear)
{
    GLDeviceData& data = Data();
    // A multisampled source is resolved in place first: a multisample blit cannot scale.
    BindColourForRead(data, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, data.drawFramebuffer);
    AttachSurface(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, &to);
    glBlitFramebuffer(source.left, source.top, source.right, source.bottom, dest.left, dest.top, dest.right,
                      dest.bottom, GL_COLOR_BUFFER_BIT, linear ? GL_LINEAR : GL_NEAREST);
}

void GLBackend::DrawColour(const GLSurfaceData& from, const RECT& source, const GLSurfaceData& to, const RECT& dest,
                           bool linear)
{
    GLDeviceData& data = Data();
    // The copy draws from a 2D texture level; any other source goes into one first.
    std::unique_ptr<GLTextureData> staged;
    GLuint texture = from.texture;
    GLint level = from.level;
    UINT width = from.width;
    UINT height = from.height;
    RECT area = source;
    if (!from.texture || from.bindTarget != GL_TEXTURE_2D) {
        width = static_cast<UINT>(source.right - source.left);
        height = static_cast<UINT>(source.bottom - source.top);
        staged = std::make_unique<GLTextureData>(data.Token(), GL_TEXTURE_2D);
        glActiveTexture(data.scratchUnit);
        glBindTexture(GL_TEXTURE_2D, staged->name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(from.format->internalFormat), static_cast<GLsizei>(width),
                     static_cast<GLsizei>(height), 0, from.format->transferFormat, from.format->transferType, nullptr);
        BindColourForRead(data, from);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, data.drawFramebuffer);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, staged->name, 0);
        glBlitFramebuffer(source.left, source.top, source.right, source.bottom, 0, 0, static_cast<GLint>(width),
                          static_cast<GLint>(height), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        texture = staged->name;
        level = 0;
        area = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    }
    data.state.PrepareCopy();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, data.drawFramebuffer);
    AttachSurface(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, &to);
    data.CopyProgram().Copy(texture, level, width, height, area, dest, linear, data.scratchUnit);
    // The copy changed what draws rely on: everything is applied again at the next one.
    data.state.Forget();
    glBindVertexArray(data.vertexArray);
    glUseProgram(data.program);
}

void GLBackend::Refused(Op, FrontCheck)
{
    // Nothing reached GL; a failed DEVICE_CALL reports the refusal.
}
