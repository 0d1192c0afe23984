#include "Platform/Gfx/GL/GLAdapter.h"

#include <algorithm>
#include <tuple>

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/GL/GLContext.h"
#include "Platform/Gfx/GL/GLFormat.h"

namespace {

// Every mode is offered as the one desktop format Direct3D 9 windows use.
constexpr D3DFORMAT kDisplayFormat = D3DFMT_X8R8G8B8;

constexpr DWORD kQueries = D3DUSAGE_QUERY_SRGBREAD | D3DUSAGE_QUERY_FILTER | D3DUSAGE_QUERY_SRGBWRITE |
                           D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING | D3DUSAGE_QUERY_VERTEXTEXTURE;

D3DDISPLAYMODE ModeOf(const SDL_DisplayMode& mode)
{
    return {static_cast<UINT>(mode.w), static_cast<UINT>(mode.h), static_cast<UINT>(mode.refresh_rate),
            kDisplayFormat};
}

UINT Integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return static_cast<UINT>(std::max(value, 0));
}

// The counts both the colour and the depth formats offer, so that a multisampled back buffer
// always has a depth buffer of its own count.
std::vector<UINT> SampleCounts()
{
    const UINT maxSamples = Integer(GL_MAX_SAMPLES);
    std::vector<UINT> counts;
    for (UINT count = 2; count <= maxSamples && count <= D3DMULTISAMPLE_16_SAMPLES; ++count) {
        counts.push_back(count);
    }
    if (epoxy_gl_version() < 42 && !epoxy_has_gl_extension("GL_ARB_internalformat_query")) {
        return counts;
    }
    // GL rounds a request up to a count it has; offer only the counts that are really made.
    for (const GLenum format : {GL_RGBA8, GL_DEPTH24_STENCIL8, GL_DEPTH_COMPONENT16}) {
        GLint number = 0;
        glGetInternalformativ(GL_RENDERBUFFER, format, GL_NUM_SAMPLE_COUNTS, 1, &number);
        std::vector<GLint> offered(static_cast<size_t>(std::max(number, 0)));
        if (!offered.empty()) {
            glGetInternalformativ(GL_RENDERBUFFER, format, GL_SAMPLES, number, offered.data());
        }
        std::erase_if(counts, [&](UINT count) {
            return std::find(offered.begin(), offered.end(), static_cast<GLint>(count)) == offered.end();
        });
    }
    return counts;
}

GLLimits ReadLimits()
{
    GLLimits limits;
    limits.maxTextureSize = Integer(GL_MAX_TEXTURE_SIZE);
    limits.maxCubeMapSize = Integer(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
    limits.max3DTextureSize = Integer(GL_MAX_3D_TEXTURE_SIZE);
    limits.maxDrawBuffers = std::min(Integer(GL_MAX_DRAW_BUFFERS), Integer(GL_MAX_COLOR_ATTACHMENTS));
    limits.maxVertexAttribs = Integer(GL_MAX_VERTEX_ATTRIBS);
    limits.maxTextureUnits = Integer(GL_MAX_TEXTURE_IMAGE_UNITS);
    limits.maxVertexUniformVectors = Integer(GL_MAX_VERTEX_UNIFORM_COMPONENTS) / 4;
    if (epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic")) {
        GLfloat anisotropy = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        limits.maxAnisotropy = static_cast<UINT>(anisotropy);
    }
    limits.sampleCounts = SampleCounts();
    return limits;
}

// Reads the limits through a context of a hidden window of its own, leaving whatever context was
// current as it was.
std::optional<GLLimits> ProbeLimits()
{
    SDL_Window* const previousWindow = SDL_GL_GetCurrentWindow();
    const SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    std::optional<GLLimits> limits;
    if (window) {
        if (auto context = GLContext::Create(window)) {
            limits = ReadLimits();
        }
        SDL_DestroyWindow(window);
    }
    if (previousContext) {
        SDL_GL_MakeCurrent(previousWindow, previousContext);
    }
    return limits;
}

} // namespace

// SDL's video and the GL driver stay for the rest of the process once a backend has asked for
// them, as the window layer's video does: quitting video would destroy the window layer's windows,
// and SDL unloads the driver with the last GL window, so that the probe's window and every device
// after it would load the driver again (and the driver's statics would leak with each unload).
GLAdapter::GLAdapter() : video_(SDL_WasInit(SDL_INIT_VIDEO) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
{
    static const bool driverLoaded = video_ && SDL_GL_LoadLibrary(nullptr) == 0;
    (void)driverLoaded;
}

const std::vector<D3DDISPLAYMODE>& GLAdapter::Modes()
{
    if (modes_) {
        return *modes_;
    }
    modes_.emplace();
    if (!video_) {
        return *modes_;
    }
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        // Headless drivers list a mode without a size.
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            modes_->push_back(ModeOf(mode));
        }
    }
    D3DDISPLAYMODE desktop;
    if (modes_->empty() && SUCCEEDED(DisplayMode(&desktop))) {
        modes_->push_back(desktop);
    }
    // Direct3D lists modes from the smallest up, each size by rising refresh rate; SDL lists them
    // the other way and once per pixel format.
    const auto key = [](const D3DDISPLAYMODE& mode) { return std::tie(mode.Width, mode.Height, mode.RefreshRate); };
    std::sort(modes_->begin(), modes_->end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    modes_->erase(std::unique(modes_->begin(), modes_->end(),
                              [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                  modes_->end());
    return *modes_;
}

UINT GLAdapter::ModeCount(D3DFORMAT format)
{
    return format == kDisplayFormat ? static_cast<UINT>(Modes().size()) : 0;
}

HRESULT GLAdapter::Mode(D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode)
{
    if (format != kDisplayFormat || index >= Modes().size()) {
        return D3DERR_INVALIDCALL;
    }
    *mode = Modes()[index];
    return D3D_OK;
}

HRESULT GLAdapter::DisplayMode(D3DDISPLAYMODE* mode)
{
    SDL_DisplayMode desktop{};
    if (!video_ || SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return D3DERR_NOTAVAILABLE;
    }
    *mode = ModeOf(desktop);
    return D3D_OK;
}

const GLLimits* GLAdapter::Limits()
{
    if (!probed_) {
        probed_ = true;
        if (video_) {
            limits_ = ProbeLimits();
        }
    }
    return limits_ ? &*limits_ : nullptr;
}

bool GLAdapter::Offers(D3DRESOURCETYPE type, D3DFORMAT format, DWORD usage)
{
    const FormatInfo* info = DescribeFormat(format);
    if (!info || !Limits()) {
        return false;
    }
    if (type == D3DRTYPE_VERTEXBUFFER) {
        return format == D3DFMT_VERTEXDATA;
    }
    if (type == D3DRTYPE_INDEXBUFFER) {
        return info->kind == FormatKind::Index;
    }
    const GLFormat* gl = FindGLFormat(format);
    if (!gl) {
        return false;
    }
    const bool renderTarget = usage & D3DUSAGE_RENDERTARGET;
    const bool depthStencil = usage & D3DUSAGE_DEPTHSTENCIL;
    // sRGB reads and writes are not converted by this backend.
    if (usage & (D3DUSAGE_QUERY_SRGBREAD | D3DUSAGE_QUERY_SRGBWRITE)) {
        return false;
    }
    if (info->kind == FormatKind::Depth) {
        const bool depthType = type == D3DRTYPE_SURFACE || type == D3DRTYPE_TEXTURE;
        return depthType && depthStencil && !renderTarget && !(usage & kQueries);
    }
    if (depthStencil) {
        return false;
    }
    const bool drawn = renderTarget || (usage & D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING);
    if (drawn && (!gl->renderable || type == D3DRTYPE_VOLUMETEXTURE || type == D3DRTYPE_VOLUME)) {
        return false;
    }
    return true;
}

bool GLAdapter::Fits(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth)
{
    const GLLimits* limits = Limits();
    if (!limits) {
        return false;
    }
    if (type == D3DRTYPE_VOLUMETEXTURE) {
        return width <= limits->max3DTextureSize && height <= limits->max3DTextureSize &&
               depth <= limits->max3DTextureSize;
    }
    const UINT most = type == D3DRTYPE_CUBETEXTURE ? limits->maxCubeMapSize : limits->maxTextureSize;
    return width <= most && height <= most;
}

bool GLAdapter::OffersMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD quality)
{
    const GLLimits* limits = Limits();
    const GLFormat* gl = FindGLFormat(format);
    if (!limits || !gl) {
        return false;
    }
    if (type == D3DMULTISAMPLE_NONE) {
        return quality == 0;
    }
    if (!gl->renderable && !IsDepthFormat(format)) {
        return false;
    }
    const std::vector<UINT>& counts = limits->sampleCounts;
    if (type == D3DMULTISAMPLE_NONMASKABLE) {
        return quality < counts.size();
    }
    return quality == 0 && std::find(counts.begin(), counts.end(), static_cast<UINT>(type)) != counts.end();
}

int GLAdapter::SamplesOf(D3DMULTISAMPLE_TYPE type, DWORD quality)
{
    if (type == D3DMULTISAMPLE_NONE) {
        return 0;
    }
    // Each quality level of the non-maskable type is one of the offered counts.
    if (type == D3DMULTISAMPLE_NONMASKABLE) {
        return static_cast<int>(Limits()->sampleCounts[quality]);
    }
    return static_cast<int>(type);
}

HRESULT GLAdapter::CheckFormat(D3DFORMAT adapterFormat, DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format)
{
    if (adapterFormat != kDisplayFormat) {
        return D3DERR_NOTAVAILABLE;
    }
    return Offers(type, format, usage) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT GLAdapter::CheckMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD* qualityLevels)
{
    if (!OffersMultiSample(format, type, 0)) {
        return D3DERR_NOTAVAILABLE;
    }
    if (qualityLevels) {
        *qualityLevels = type == D3DMULTISAMPLE_NONMASKABLE ? static_cast<DWORD>(Limits()->sampleCounts.size()) : 1;
    }
    return D3D_OK;
}
