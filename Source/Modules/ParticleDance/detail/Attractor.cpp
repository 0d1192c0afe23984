#include "Modules/ParticleDance/detail/Attractor.h"

#include <cmath>

namespace dance::detail {

namespace {

// Within this distance of the second point the attractor is pushed halfway out to it.
constexpr float KeepAway = 3.0f;

D3DXVECTOR3 Narrow(double x, double y, double z)
{
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

} // namespace

D3DXVECTOR3 Attractor(double t)
{
    D3DXVECTOR3 p = Narrow(4.5 * (std::sin(t) + std::sin(2.3223 * t)), 4.5 * std::cos(1.33 * t),
                           4.5 * std::sin(t) * std::cos(2.0 * t));
    const D3DXVECTOR3 q = Narrow(3.5 * (std::cos(1.3223 * t) + std::sin(1.32345 * t)), 3.5 * std::cos(2.33 * t),
                                 3.5 * std::sin(1.323 * t) * std::cos(0.55 * t));
    D3DXVECTOR3 away;
    D3DXVec3Subtract(&away, &p, &q);
    const float distance = D3DXVec3Length(&away);
    // At distance 0 there is no direction to push in.
    if (distance > 0.0f && distance < KeepAway) {
        const float scale = (KeepAway - distance) / distance;
        p.x += away.x * scale * 0.5f;
        p.y += away.y * scale * 0.5f;
        p.z += away.z * scale * 0.5f;
    }
    return p;
}

} // namespace dance::detail
