// D3DX's effect pool: the parameters that effects declare `shared` live here, one value for every
// effect created in the pool. A shared parameter is matched by name; effects must declare it with
// the same type. The pool keeps each value for as long as it exists, and every effect keeps its
// pool alive.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/ParameterValue.h"
#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Unknown.h"

#include <map>
#include <memory>
#include <string>

class ID3DXEffectPool : public Unknown {
public:
    // The pool's value of a shared parameter, made from the parameter's initial value by the first
    // effect that declares it. Null when the pool already holds that name with another type.
    std::shared_ptr<fx::ParameterValue> Join(const fx::Parameter& parameter);

    // The pool's declaration of the name: its kind and element count; null when it holds none.
    const fx::Parameter* Declaration(const std::string& name) const;

private:
    friend HRESULT D3DXCreateEffectPool(ID3DXEffectPool** ppPool);
    ID3DXEffectPool() = default;

    struct Shared {
        fx::Parameter declaration;
        std::shared_ptr<fx::ParameterValue> value;
    };
    std::map<std::string, Shared> shared_;
};

// A new, empty pool with one reference; D3DERR_INVALIDCALL for a null out pointer.
HRESULT D3DXCreateEffectPool(ID3DXEffectPool** ppPool);
