// What an effect does on its device, one implementation per graphics backend: an effect keeps its
// description and the values of its parameters itself, and its driver makes a pass current (the
// pass's programs, render states, parameter values and sampler textures) when the pass begins
// and again at CommitChanges.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/ParameterValue.h"
#include "Platform/Gfx/GfxTypes.h"

#include <cstdint>
#include <memory>
#include <span>

class ID3DXEffect;

namespace fx {

// The effect as a driver reads it: values[i] is the current value of description.parameters[i]
// (shared parameters: the pool's value).
struct EffectView {
    const ID3DXEffect& effect;
    const EffectDescription& description;
    std::span<const std::shared_ptr<ParameterValue>> values;
};

class EffectDriver {
public:
    virtual ~EffectDriver() = default;

    // technique and pass index the description's techniques and that technique's passes.
    virtual HRESULT BeginPass(const EffectView& effect, uint32_t technique, uint32_t pass) = 0;
    // Applies the values set since the pass began or since the last commit.
    virtual HRESULT CommitChanges(const EffectView& effect, uint32_t technique, uint32_t pass) = 0;
    virtual void EndPass() = 0;
    // The technique ends; with restoreStates the render states that its passes set go back to
    // what they were before it began.
    virtual void End(bool restoreStates) = 0;
};

} // namespace fx
