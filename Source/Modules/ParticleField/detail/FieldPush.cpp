#include "Modules/ParticleField/detail/FieldPush.h"

#include <cmath>

namespace particles::detail {

SwirlTurn SwirlAt(double t)
{
    const double angle = t + std::sin(t + 2.0 * std::cos(t));
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

D3DXVECTOR3 FieldPush(const FlowField& field, const D3DXVECTOR3& p, const SwirlTurn& turn)
{
    const float c = turn.c, s = turn.s;
    const D3DXVECTOR3 a = field.Sample({p.z * c - p.y * s, p.z * s + p.y * c, p.x});
    const D3DXVECTOR3 b = field.Sample({p.x * c - p.y * s, p.x * s + p.y * c, p.z});
    const D3DXVECTOR3 f = field.Sample(p);
    return {0.8f * f.x + 0.2f * b.x + 0.2f * a.x, 0.8f * f.y + 0.2f * b.y + 0.2f * a.y,
            0.8f * f.z + 0.2f * b.z + 0.2f * a.z};
}

} // namespace particles::detail
