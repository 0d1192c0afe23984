// Checks of an indexed draw against what is bound.
#pragma once

#include <optional>

#include "Platform/Gfx/DeviceState.h"

// Indices read by primCount primitives of the type; 0 for a type indexed draws do not take.
UINT IndexCountFor(D3DPRIMITIVETYPE type, UINT primCount);

// Inside a scene; a declaration whose streams are all bound and unlocked; an unlocked index
// buffer holding every index read; render targets of one size and a depth-stencil surface at
// least that large. Answers the check that fails, or nothing.
std::optional<FrontCheck> CheckIndexedDraw(const DeviceState& state, D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                           UINT minVertexIndex, UINT numVertices, UINT startIndex, UINT primCount);
