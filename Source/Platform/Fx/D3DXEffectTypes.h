// D3DX 9's small effect types: handles, macros, include kinds and the flags of Begin.
#pragma once

#include "Platform/Gfx/GfxTypes.h"

// A parameter, annotation or technique of one effect. As in D3DX, wherever a handle is taken the
// name of a parameter or technique is accepted in its place: every handle is itself a
// NUL-terminated string (the name it stands for), so reading an unknown handle as a name is safe.
using D3DXHANDLE = const char*;

// Preprocessor definitions; the effect language has no macros, so only an empty list is taken.
struct D3DXMACRO {
    const char* Name;
    const char* Definition;
};

enum D3DXINCLUDE_TYPE : uint32_t {
    D3DXINC_LOCAL = 0,
    D3DXINC_SYSTEM = 1,
};

// Begin's flags. Without D3DXFX_DONOTSAVESTATE the effect restores, at End, every render state its
// passes set.
constexpr DWORD D3DXFX_DONOTSAVESTATE = 1u << 0;
constexpr DWORD D3DXFX_DONOTSAVESHADERSTATE = 1u << 1;
constexpr DWORD D3DXFX_DONOTSAVESAMPLERSTATE = 1u << 2;
