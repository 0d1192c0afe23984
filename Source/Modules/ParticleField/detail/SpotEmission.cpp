#include "Modules/ParticleField/detail/SpotEmission.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Scene/SpotLight.h"

namespace particles::detail {

namespace {

constexpr float NearestDistance = 0.2f;
// The cone is never narrower than this, even at the light's own place.
constexpr float LeastSpread = 0.09f;

float DistanceAlongAxis(int r)
{
    return static_cast<float>(r) * 9.155553e-6f + NearestDistance; // [0.2, 0.5]
}

} // namespace

Emitted EmitFrom(const SpotLight& light)
{
    const float d = DistanceAlongAxis(CrtRand::rand());
    const float ry = CrtRand::Signed(CrtRand::rand());
    const float spread = d * light.coneAngle + LeastSpread;
    const float rx = CrtRand::Signed(CrtRand::rand());
    const D3DXVECTOR3 local{spread * rx, spread * ry, -d};
    D3DXVECTOR4 world;
    D3DXVec3Transform(&world, &local, &light.world);
    const D3DXVECTOR3 p{world.x, world.y, world.z};
    const float speed = light.radius;
    return {p, {speed * (p.x - light.position.x), speed * (p.y - light.position.y), speed * (p.z - light.position.z)}};
}

} // namespace particles::detail
