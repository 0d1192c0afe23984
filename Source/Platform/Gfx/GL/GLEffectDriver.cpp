#include "Platform/Gfx/GL/GLEffectDriver.h"

#include "Platform/Fx/ID3DXEffect.h"
#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLEffectHook.h"

#include <algorithm>

namespace fx {

namespace {

GLint MinFilter(TextureFilter min, TextureFilter mip)
{
    const bool linear = min != TextureFilter::Point;
    switch (mip) {
    case TextureFilter::None: return linear ? GL_LINEAR : GL_NEAREST;
    case TextureFilter::Point: return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    default: return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
}

GLint Wrap(TextureAddress address)
{
    switch (address) {
    case TextureAddress::Wrap: return GL_REPEAT;
    case TextureAddress::Mirror: return GL_MIRRORED_REPEAT;
    case TextureAddress::Clamp: return GL_CLAMP_TO_EDGE;
    case TextureAddress::Border: return GL_CLAMP_TO_BORDER;
    case TextureAddress::MirrorOnce:
        // Core from GL 4.4; before that, mirroring without the clamp is the nearest match.
        return epoxy_gl_version() >= 44 || epoxy_has_gl_extension("GL_ARB_texture_mirror_clamp_to_edge")
                   ? GL_MIRROR_CLAMP_TO_EDGE
                   : GL_MIRRORED_REPEAT;
    }
    return GL_REPEAT;
}

bool HasAnisotropy()
{
    return epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
           epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
}

} // namespace

std::unique_ptr<GLEffectDriver> GLEffectDriver::Make(IDirect3DDevice9& device, const EffectDescription& description,
                                                     std::string& messages)
{
    std::unique_ptr<GLEffectDriver> driver(new GLEffectDriver(device));
    if (!driver->Build(description, messages))
        return nullptr;
    return driver;
}

bool GLEffectDriver::Build(const EffectDescription& description, std::string& messages)
{
    context_ = device_.Backend().As<GLDeviceData>().Token();
    GLShaderBlocks blocks(description);
    bool built = true;
    for (const Technique& technique : description.techniques) {
        auto& passes = programs_.emplace_back();
        for (const Pass& pass : technique.passes) {
            passes.push_back(GLEffectProgram::Build(description, technique, pass, blocks, messages));
            built = built && passes.back();
        }
    }
    MakeSamplers(description);
    return built;
}

bool GLEffectDriver::InCurrentContext() const
{
    const GLDeviceData* data = device_.Backend().Find<GLDeviceData>();
    const GLContextToken current = data ? data->Token() : GLContextToken();
    return !context_.expired() && !context_.owner_before(current) && !current.owner_before(context_);
}

GLEffectDriver::~GLEffectDriver()
{
    Release();
}

void GLEffectDriver::Release()
{
    if (InCurrentContext()) {
        if (!samplers_.empty())
            glDeleteSamplers(static_cast<GLsizei>(samplers_.size()), samplers_.data());
    } else {
        for (auto& passes : programs_)
            for (auto& program : passes)
                if (program)
                    program->Abandon();
    }
    programs_.clear();
    samplers_.clear();
}

HRESULT GLEffectDriver::Prepare(const EffectView& effect)
{
    if (InCurrentContext())
        return D3D_OK;
    Release();
    // A new context starts with every clip plane off.
    clipDistancesEnabled_ = 0;
    std::string messages;
    return Build(effect.description, messages) ? D3D_OK : E_FAIL;
}

void GLEffectDriver::MakeSamplers(const EffectDescription& description)
{
    samplers_.resize(description.samplers.size());
    if (!samplers_.empty())
        glGenSamplers(static_cast<GLsizei>(samplers_.size()), samplers_.data());
    const bool anisotropy = HasAnisotropy();
    for (size_t i = 0; i < samplers_.size(); ++i) {
        const Sampler& sampler = description.samplers[i];
        const GLuint name = samplers_[i];
        glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER, MinFilter(sampler.minFilter, sampler.mipFilter));
        glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER,
                            sampler.magFilter == TextureFilter::Point ? GL_NEAREST : GL_LINEAR);
        glSamplerParameteri(name, GL_TEXTURE_WRAP_S, Wrap(sampler.addressU));
        glSamplerParameteri(name, GL_TEXTURE_WRAP_T, Wrap(sampler.addressV));
        glSamplerParameteri(name, GL_TEXTURE_WRAP_R, Wrap(sampler.addressW));
        glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, sampler.borderColor.data());
        // As in Direct3D, the anisotropy counts only where a filter asks for it.
        const bool anisotropic =
            sampler.minFilter == TextureFilter::Anisotropic || sampler.magFilter == TextureFilter::Anisotropic;
        if (anisotropy && anisotropic)
            glSamplerParameterf(name, GL_TEXTURE_MAX_ANISOTROPY_EXT, static_cast<float>(sampler.maxAnisotropy));
    }
}

HRESULT GLEffectDriver::Apply(const EffectView& effect, GLEffectProgram& program)
{
    if (const HRESULT hr = GLUseProgram(device_, program.Name()); FAILED(hr))
        return hr;
    program.Upload(effect.description, effect.values);
    for (size_t unit = 0; unit < samplers_.size(); ++unit)
        glBindSampler(static_cast<GLuint>(unit), samplers_[unit]);
    EnableClipDistances(program.ClipDistances());
    return D3D_OK;
}

void GLEffectDriver::EnableClipDistances(uint32_t count)
{
    for (uint32_t i = std::min(count, clipDistancesEnabled_); i < std::max(count, clipDistancesEnabled_); ++i)
        (i < count ? glEnable : glDisable)(GL_CLIP_DISTANCE0 + i);
    clipDistancesEnabled_ = count;
}

HRESULT GLEffectDriver::BeginPass(const EffectView& effect, uint32_t technique, uint32_t pass)
{
    return CommitChanges(effect, technique, pass);
}

HRESULT GLEffectDriver::CommitChanges(const EffectView& effect, uint32_t technique, uint32_t pass)
{
    if (const HRESULT hr = Prepare(effect); FAILED(hr))
        return hr;
    return Apply(effect, *programs_[technique][pass]);
}

} // namespace fx
