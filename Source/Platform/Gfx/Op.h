// The graphics operations as an enum, generated from GfxOps.inc: the Recorder's log and its
// failure injection name operations by it.
#pragma once

#include <cstddef>

#include "Platform/Gfx/GfxTypes.h"

enum class Op : unsigned {
#define OP(result, name, params, args) name,
#include "Platform/Gfx/GfxOps.inc"
#undef OP
};

constexpr size_t kOpCount = 0
#define OP(result, name, params, args) +1
#include "Platform/Gfx/GfxOps.inc"
#undef OP
    ;

// The operation's name as written in GfxOps.inc, for messages.
const char* OpName(Op op);

// Whether the operation reports an HRESULT (and so can fail).
bool OpReturnsResult(Op op);
