// A particle born from a spot light: somewhere in a cone along the light's local -z axis, 0.2 to
// 0.5 units out, moving away from the light the faster the farther out and the larger its radius.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

class SpotLight;

namespace particles::detail {

struct Emitted {
    D3DXVECTOR3 position;
    D3DXVECTOR3 velocity;
};

// Three draws of the shared generator: the distance along the axis, then the spread's y and x.
Emitted EmitFrom(const SpotLight& light);

} // namespace particles::detail
