// The particle modules' shared step: a particle moves by its velocity over dt, then its velocity
// loses the damped share. The order of the operations is part of the show's motion.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

namespace particles {

inline void DriftAndDamp(D3DXVECTOR3& position, D3DXVECTOR3& velocity, float dt, float damping)
{
    position.x += velocity.x * dt;
    position.y += velocity.y * dt;
    position.z += velocity.z * dt;
    velocity.x *= damping;
    velocity.y *= damping;
    velocity.z *= damping;
}

} // namespace particles
