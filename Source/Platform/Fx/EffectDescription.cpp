#include "Platform/Fx/EffectDescription.h"

#include <algorithm>

namespace fx {

uint32_t ComponentCount(ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Float: return 1;
    case ParameterKind::Float2: return 2;
    case ParameterKind::Float3: return 3;
    case ParameterKind::Float4: return 4;
    case ParameterKind::Float4x4: return 16;
    case ParameterKind::Texture2D:
    case ParameterKind::TextureCube:
    case ParameterKind::Texture3D: return 0;
    }
    return 0;
}

bool IsTexture(ParameterKind kind)
{
    return ComponentCount(kind) == 0;
}

uint32_t FloatCount(const Parameter& parameter)
{
    return ComponentCount(parameter.kind) * std::max<uint32_t>(parameter.elements, 1);
}

} // namespace fx
