// Where the box scene's lens focuses: on the swarm, wherever it drifts and whichever camera looks,
// so that the drops stay sharp and the room behind them blurs.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <vector>

struct SwarmFocus {
    // The focus for the depth of field, as FOCUS_MAXZ carries it: the distance in focus and the
    // distance from it at which the picture is fully blurred.
    float distance;
    float range;
};

// The swarm's side that faces the camera is in focus: its mean depth seen through view (the linear
// depth the scene writes, -z in view space) less half its spread in depth; the range grows with
// that spread so that the swarm stays nearly sharp, and never falls below a floor that keeps the
// room behind a gathered swarm blurred. The distance is never below 0.
// With no drops there is nothing to follow: the fixed focus the room was shot with.
SwarmFocus FocusOnSwarm(const std::vector<D3DXVECTOR3>& positions, const D3DXMATRIX& view);
