// Checks an indexed draw against the stored data: every index it reads lies in the range the
// draw declared, and every vertex those indices reach lies inside each stream's buffer.
#pragma once

#include "Platform/Gfx/DeviceState.h"

bool IndexedVerticesInside(const DeviceState& state, D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                           UINT numVertices, UINT startIndex, UINT primCount);
