// The render states a pass may set, the values each takes (Direct3D 9's numbers) and their names
// in the effect language. Names of states and of their values are matched without regard to case.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fx {

enum class Blend : uint32_t { // D3DBLEND
    Zero = 1, One = 2, SrcColor = 3, InvSrcColor = 4, SrcAlpha = 5, InvSrcAlpha = 6, DestAlpha = 7,
    InvDestAlpha = 8, DestColor = 9, InvDestColor = 10, SrcAlphaSat = 11,
};
enum class BlendOp : uint32_t { Add = 1, Subtract = 2, RevSubtract = 3, Min = 4, Max = 5 }; // D3DBLENDOP
enum class Compare : uint32_t { // D3DCMPFUNC
    Never = 1, Less = 2, Equal = 3, LessEqual = 4, Greater = 5, NotEqual = 6, GreaterEqual = 7, Always = 8,
};
// D3DCULL: which winding is culled, as the triangle appears in clip space (y up).
enum class Cull : uint32_t { None = 1, CW = 2, CCW = 3 };
enum ColorWrite : uint32_t { ColorWriteRed = 1, ColorWriteGreen = 2, ColorWriteBlue = 4, ColorWriteAlpha = 8 };

enum class StateValues : uint8_t { Bool, Blend, BlendOp, Compare, Cull, ColorMask };

struct RenderStateInfo {
    std::string_view name; // as written in a pass, e.g. "AlphaBlendEnable"
    RenderState state;
    StateValues values;
    uint32_t initial; // a new device's value, and the value after a Reset
};

std::span<const RenderStateInfo> RenderStates();
const RenderStateInfo* FindRenderState(std::string_view name);
const RenderStateInfo* FindRenderState(RenderState state);

// TRUE, SRCALPHA, LESSEQUAL, CCW, RED ...; nullopt for a name the kind does not know.
std::optional<uint32_t> StateValueByName(StateValues values, std::string_view name);
bool IsValidStateValue(StateValues values, uint32_t value);
// The names a kind accepts, for messages ("TRUE or FALSE").
std::string StateValueNames(StateValues values);

} // namespace fx
