// The effect driver of the GL backend (made by GLBackend::CreateEffectDriver): every pass's
// program is built when the effect is created (so that a GLSL fault fails the creation with its
// message), and a pass that begins makes its program current, uploads the values that changed and
// binds each sampler's sampler object to its unit, and enables the clip planes its vertex block
// writes (gl_ClipDistance) until the pass ends. CommitChanges uploads and binds again. The
// pass's render states and textures reach the device through its own operations, from the
// effect runtime.
//
// Programs and samplers belong to the context they were made in. A Reset after a context reset
// gives the device a new context: the next pass then builds them again there, and the old names
// are left alone rather than deleted.
#pragma once

#include "Platform/Fx/EffectDriver.h"
#include "Platform/Gfx/GL/GLEffectProgram.h"
#include "Platform/Gfx/GL/GLResources.h"

#include <epoxy/gl.h>

#include <memory>
#include <string>
#include <vector>

namespace fx {

class GLEffectDriver final : public EffectDriver {
public:
    // Null with messages when a pass's program cannot be built.
    static std::unique_ptr<GLEffectDriver> Make(IDirect3DDevice9& device, const EffectDescription& description,
                                                std::string& messages);
    ~GLEffectDriver() override;

    HRESULT BeginPass(const EffectView& effect, uint32_t technique, uint32_t pass) override;
    HRESULT CommitChanges(const EffectView& effect, uint32_t technique, uint32_t pass) override;
    // Put the clip planes a pass enabled back off: nothing else the device draws writes them.
    void EndPass() override { EnableClipDistances(0); }
    void End(bool) override { EnableClipDistances(0); }

private:
    explicit GLEffectDriver(IDirect3DDevice9& device) : device_(device) {}
    // Programs and samplers in the device's current context.
    bool Build(const EffectDescription& description, std::string& messages);
    void MakeSamplers(const EffectDescription& description);
    // Whether the names were made in the device's current context.
    bool InCurrentContext() const;
    void Release();
    HRESULT Apply(const EffectView& effect, GLEffectProgram& program);
    HRESULT Prepare(const EffectView& effect);
    // GL_CLIP_DISTANCE0 up to count enabled, the ones above disabled.
    void EnableClipDistances(uint32_t count);

    // The effect holds the device for as long as it holds this driver.
    IDirect3DDevice9& device_;
    std::vector<std::vector<std::unique_ptr<GLEffectProgram>>> programs_; // by technique, then pass
    std::vector<GLuint> samplers_;        // sampler objects, by the effect's sampler index
    GLContextToken context_;
    uint32_t clipDistancesEnabled_ = 0;
};

} // namespace fx
