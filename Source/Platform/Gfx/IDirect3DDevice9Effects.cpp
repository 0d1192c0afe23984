// What an effect pass sets on the device: render states, sampler textures, and the backend's
// driver for an effect's programs. The effect runtime reaches the device only through these.
#include "Platform/Gfx/IDirect3DDevice9.h"

#include "Platform/Fx/RenderStates.h"
#include "Platform/Gfx/FrontCheck.h"
#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3DBaseTexture9.h"

namespace {

const fx::RenderStateInfo* KnownState(D3DRENDERSTATETYPE state)
{
    return fx::FindRenderState(static_cast<fx::RenderState>(state));
}

} // namespace

void IDirect3DDevice9::SetInitialRenderStates()
{
    for (const fx::RenderStateInfo& info : fx::RenderStates()) {
        renderStates_[static_cast<size_t>(info.state)] = info.initial;
    }
}

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    const fx::RenderStateInfo* info = KnownState(State);
    if (!info) {
        return Refuse(Op::SetRenderState, FrontCheck::UnknownRenderState);
    }
    if (!fx::IsValidStateValue(info->values, Value)) {
        return Refuse(Op::SetRenderState, FrontCheck::RenderStateValue,
                      std::string(info->name) + " = " + std::to_string(Value));
    }
    const HRESULT hr = driver_->SetRenderState(State, Value);
    if (SUCCEEDED(hr)) {
        renderStates_[State] = Value;
    }
    return hr;
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue)
{
    if (!pValue) {
        return Refuse("GetRenderState", FrontCheck::NullPointer);
    }
    if (!KnownState(State)) {
        return Refuse("GetRenderState", FrontCheck::UnknownRenderState);
    }
    *pValue = renderStates_[State];
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (Stage >= kMaxTextureStages) {
        return Refuse(Op::SetTexture, FrontCheck::StageOutOfRange);
    }
    if (pTexture && !Owns(pTexture)) {
        return Refuse(Op::SetTexture, FrontCheck::OtherDevice);
    }
    const HRESULT hr = driver_->SetTexture(Stage, pTexture);
    if (SUCCEEDED(hr)) {
        // No hold: a stage does not keep a texture alive, its destruction unbinds it
        // (UnregisterResource), so a texture released while bound leaves at once.
        state_.textures[Stage] = pTexture;
    }
    return hr;
}

HRESULT IDirect3DDevice9::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture)
{
    if (!ppTexture) {
        return Refuse("GetTexture", FrontCheck::NullPointer);
    }
    if (Stage >= kMaxTextureStages) {
        return Refuse("GetTexture", FrontCheck::StageOutOfRange);
    }
    *ppTexture = state_.textures[Stage];
    if (*ppTexture) {
        (*ppTexture)->AddRef();
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateEffectDriver(const fx::EffectDescription* pDescription, fx::EffectDriver** ppDriver,
                                             std::string* pMessages)
{
    if (!pDescription || !ppDriver || !pMessages) {
        return Refuse(Op::CreateEffectDriver, FrontCheck::NullPointer);
    }
    *ppDriver = nullptr;
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    const HRESULT hr = driver_->CreateEffectDriver(pDescription, ppDriver, pMessages);
    if (SUCCEEDED(hr) && !*ppDriver) {
        return E_FAIL; // a backend that claims success owes a driver
    }
    return hr;
}
