#include "Platform/Fx/ID3DXEffectPool.h"

#include "Platform/Fx/detail/InitialValue.h"

#include <new>

std::shared_ptr<fx::ParameterValue> ID3DXEffectPool::Join(const fx::Parameter& parameter)
{
    const auto found = shared_.find(parameter.name);
    if (found == shared_.end()) {
        Shared shared{parameter, fx::detail::InitialValue(parameter)};
        return shared_.emplace(parameter.name, std::move(shared)).first->second.value;
    }
    const fx::Parameter& declared = found->second.declaration;
    if (declared.kind != parameter.kind || declared.elements != parameter.elements)
        return nullptr;
    return found->second.value;
}

const fx::Parameter* ID3DXEffectPool::Declaration(const std::string& name) const
{
    const auto found = shared_.find(name);
    return found == shared_.end() ? nullptr : &found->second.declaration;
}

HRESULT D3DXCreateEffectPool(ID3DXEffectPool** ppPool)
{
    if (!ppPool)
        return D3DERR_INVALIDCALL;
    try {
        *ppPool = new ID3DXEffectPool();
    } catch (const std::bad_alloc&) {
        *ppPool = nullptr;
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}
