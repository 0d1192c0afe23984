// Where the dance's swarm is pulled at a moment of the show: a point flying a fixed Lissajous-like
// path, kept at least halfway out to 3 units from a second point on a path of its own.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

namespace dance::detail {

// The attractor at show time t (seconds); the paths are evaluated in double precision.
D3DXVECTOR3 Attractor(double t);

} // namespace dance::detail
