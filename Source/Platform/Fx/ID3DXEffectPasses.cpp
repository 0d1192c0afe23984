// The pass protocol of an effect: Begin, BeginPass, CommitChanges, EndPass, End. A pass sets its
// render states (the values before the technique are kept for End) and its sampler textures
// through the device's own operations, and its driver makes its programs current.
#include "Platform/Fx/ID3DXEffect.h"

#include "Platform/Gfx/Direct3D9.h"

#include <algorithm>

HRESULT ID3DXEffect::SetPassStates(uint32_t pass)
{
    for (const fx::StateSetting& setting : description_.techniques[*technique_].passes[pass].states) {
        const auto state = static_cast<D3DRENDERSTATETYPE>(setting.state);
        const bool saved = std::any_of(savedStates_.begin(), savedStates_.end(),
                                       [&](const auto& entry) { return entry.first == state; });
        if (!saved) {
            DWORD before = 0;
            if (const HRESULT hr = device_.GetRenderState(state, &before); FAILED(hr))
                return hr;
            savedStates_.emplace_back(state, before);
        }
        if (const HRESULT hr = device_.SetRenderState(state, setting.value); FAILED(hr))
            return hr;
    }
    return D3D_OK;
}

HRESULT ID3DXEffect::BindSamplerTextures()
{
    for (size_t stage = 0; stage < samplerTextures_.size(); ++stage) {
        const size_t parameter = samplerTextures_[stage];
        IDirect3DBaseTexture9* texture = parameter < values_.size() ? values_[parameter]->texture.Get() : nullptr;
        if (const HRESULT hr = device_.SetTexture(static_cast<DWORD>(stage), texture); FAILED(hr))
            return hr;
    }
    return D3D_OK;
}

void ID3DXEffect::EndTechnique()
{
    const bool restore = !(beginFlags_ & D3DXFX_DONOTSAVESTATE);
    // Put back in reverse, so a state set twice ends with its value from before the first time.
    if (restore)
        for (auto entry = savedStates_.rbegin(); entry != savedStates_.rend(); ++entry)
            device_.SetRenderState(entry->first, entry->second); // a lost device has nothing to restore
    savedStates_.clear();
    driver_->End(restore);
}

HRESULT ID3DXEffect::Begin(UINT* pPasses, DWORD Flags)
{
    if (begun_ || !technique_)
        return D3DERR_INVALIDCALL;
    if (pPasses)
        *pPasses = static_cast<UINT>(description_.techniques[*technique_].passes.size());
    begun_ = true;
    beginFlags_ = Flags;
    return D3D_OK;
}

HRESULT ID3DXEffect::BeginPass(UINT Pass)
{
    if (!begun_ || pass_ || Pass >= description_.techniques[*technique_].passes.size())
        return D3DERR_INVALIDCALL;
    HRESULT hr = SetPassStates(Pass);
    if (SUCCEEDED(hr))
        hr = driver_->BeginPass(View(), *technique_, Pass);
    if (SUCCEEDED(hr))
        hr = BindSamplerTextures();
    if (SUCCEEDED(hr))
        pass_ = Pass;
    return hr;
}

HRESULT ID3DXEffect::CommitChanges()
{
    if (!pass_)
        return D3DERR_INVALIDCALL;
    if (const HRESULT hr = driver_->CommitChanges(View(), *technique_, *pass_); FAILED(hr))
        return hr;
    return BindSamplerTextures();
}

HRESULT ID3DXEffect::EndPass()
{
    if (!pass_)
        return D3DERR_INVALIDCALL;
    driver_->EndPass();
    pass_.reset();
    return D3D_OK;
}

HRESULT ID3DXEffect::End()
{
    if (!begun_ || pass_)
        return D3DERR_INVALIDCALL;
    EndTechnique();
    begun_ = false;
    return D3D_OK;
}
