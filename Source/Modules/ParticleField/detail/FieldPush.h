// The flow field's push on a particle: the field where the particle is, plus weaker samples at
// two turned copies of its position, so that the fixed field seems to swirl as the turn follows
// the show clock.
#pragma once

#include "Framework/Noise/FlowField.h"

namespace particles::detail {

// The cosine and sine of the turn at show time t: t + sin(t + 2 cos t), in double precision.
struct SwirlTurn {
    float c;
    float s;
};
SwirlTurn SwirlAt(double t);

// With (x, y, z) = p: 0.8 f + 0.2 b + 0.2 a, where f is the field at p, b at p turned about z
// (x c - y s, x s + y c, z) and a at (z c - y s, z s + y c, x).
D3DXVECTOR3 FieldPush(const FlowField& field, const D3DXVECTOR3& p, const SwirlTurn& turn);

} // namespace particles::detail
