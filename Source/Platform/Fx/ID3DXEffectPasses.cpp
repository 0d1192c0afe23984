// The pass protocol of an effect: Begin, BeginPass, CommitChanges, EndPass, End.
#include "Platform/Fx/ID3DXEffect.h"

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
    const HRESULT hr = driver_->BeginPass(View(), *technique_, Pass);
    if (SUCCEEDED(hr))
        pass_ = Pass;
    return hr;
}

HRESULT ID3DXEffect::CommitChanges()
{
    if (!pass_)
        return D3DERR_INVALIDCALL;
    return driver_->CommitChanges(View(), *technique_, *pass_);
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
    driver_->End(!(beginFlags_ & D3DXFX_DONOTSAVESTATE));
    begun_ = false;
    return D3D_OK;
}
