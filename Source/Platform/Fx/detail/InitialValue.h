// A parameter's value before anything is set: its declared initial value, or zeros.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Fx/ParameterValue.h"

#include <memory>

namespace fx::detail {

inline std::shared_ptr<ParameterValue> InitialValue(const Parameter& parameter)
{
    auto value = std::make_shared<ParameterValue>();
    value->floats = parameter.defaultValue;
    value->floats.resize(FloatCount(parameter), 0.0f);
    return value;
}

} // namespace fx::detail
