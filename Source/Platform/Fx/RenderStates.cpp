#include "Platform/Fx/RenderStates.h"

#include "Platform/Fx/detail/NamedValues.h"

#include <array>

namespace fx {

namespace {

using detail::NamedValue;

constexpr uint32_t V(auto value) { return static_cast<uint32_t>(value); }
constexpr uint32_t AllColorBits = ColorWriteRed | ColorWriteGreen | ColorWriteBlue | ColorWriteAlpha;

// With Direct3D's defaults for a device without an automatic depth buffer.
constexpr std::array States{
    RenderStateInfo{"ZEnable", RenderState::ZEnable, StateValues::Bool, 0},
    RenderStateInfo{"ZWriteEnable", RenderState::ZWriteEnable, StateValues::Bool, 1},
    RenderStateInfo{"ZFunc", RenderState::ZFunc, StateValues::Compare, V(Compare::LessEqual)},
    RenderStateInfo{"CullMode", RenderState::CullMode, StateValues::Cull, V(Cull::CCW)},
    RenderStateInfo{"AlphaBlendEnable", RenderState::AlphaBlendEnable, StateValues::Bool, 0},
    RenderStateInfo{"SrcBlend", RenderState::SrcBlend, StateValues::Blend, V(Blend::One)},
    RenderStateInfo{"DestBlend", RenderState::DestBlend, StateValues::Blend, V(Blend::Zero)},
    RenderStateInfo{"BlendOp", RenderState::BlendOp, StateValues::BlendOp, V(BlendOp::Add)},
    RenderStateInfo{"SeparateAlphaBlendEnable", RenderState::SeparateAlphaBlendEnable, StateValues::Bool, 0},
    RenderStateInfo{"SrcBlendAlpha", RenderState::SrcBlendAlpha, StateValues::Blend, V(Blend::One)},
    RenderStateInfo{"DestBlendAlpha", RenderState::DestBlendAlpha, StateValues::Blend, V(Blend::Zero)},
    RenderStateInfo{"BlendOpAlpha", RenderState::BlendOpAlpha, StateValues::BlendOp, V(BlendOp::Add)},
    RenderStateInfo{"ColorWriteEnable", RenderState::ColorWriteEnable, StateValues::ColorMask, AllColorBits},
    RenderStateInfo{"ColorWriteEnable1", RenderState::ColorWriteEnable1, StateValues::ColorMask, AllColorBits},
    RenderStateInfo{"ColorWriteEnable2", RenderState::ColorWriteEnable2, StateValues::ColorMask, AllColorBits},
    RenderStateInfo{"ColorWriteEnable3", RenderState::ColorWriteEnable3, StateValues::ColorMask, AllColorBits},
};

constexpr std::array Bools{NamedValue{"TRUE", 1}, NamedValue{"FALSE", 0}};
constexpr std::array Blends{
    NamedValue{"ZERO", V(Blend::Zero)},
    NamedValue{"ONE", V(Blend::One)},
    NamedValue{"SRCCOLOR", V(Blend::SrcColor)},
    NamedValue{"INVSRCCOLOR", V(Blend::InvSrcColor)},
    NamedValue{"SRCALPHA", V(Blend::SrcAlpha)},
    NamedValue{"INVSRCALPHA", V(Blend::InvSrcAlpha)},
    NamedValue{"DESTALPHA", V(Blend::DestAlpha)},
    NamedValue{"INVDESTALPHA", V(Blend::InvDestAlpha)},
    NamedValue{"DESTCOLOR", V(Blend::DestColor)},
    NamedValue{"INVDESTCOLOR", V(Blend::InvDestColor)},
    NamedValue{"SRCALPHASAT", V(Blend::SrcAlphaSat)},
};
constexpr std::array BlendOps{
    NamedValue{"ADD", V(BlendOp::Add)}, NamedValue{"SUBTRACT", V(BlendOp::Subtract)},
    NamedValue{"REVSUBTRACT", V(BlendOp::RevSubtract)}, NamedValue{"MIN", V(BlendOp::Min)},
    NamedValue{"MAX", V(BlendOp::Max)},
};
constexpr std::array Compares{
    NamedValue{"NEVER", V(Compare::Never)},        NamedValue{"LESS", V(Compare::Less)},
    NamedValue{"EQUAL", V(Compare::Equal)},        NamedValue{"LESSEQUAL", V(Compare::LessEqual)},
    NamedValue{"GREATER", V(Compare::Greater)},    NamedValue{"NOTEQUAL", V(Compare::NotEqual)},
    NamedValue{"GREATEREQUAL", V(Compare::GreaterEqual)}, NamedValue{"ALWAYS", V(Compare::Always)},
};
constexpr std::array Culls{NamedValue{"NONE", V(Cull::None)}, NamedValue{"CW", V(Cull::CW)}, NamedValue{"CCW", V(Cull::CCW)}};
constexpr std::array ColorBits{
    NamedValue{"RED", ColorWriteRed}, NamedValue{"GREEN", ColorWriteGreen},
    NamedValue{"BLUE", ColorWriteBlue}, NamedValue{"ALPHA", ColorWriteAlpha},
};

std::span<const NamedValue> Table(StateValues values)
{
    switch (values) {
    case StateValues::Bool: return Bools;
    case StateValues::Blend: return Blends;
    case StateValues::BlendOp: return BlendOps;
    case StateValues::Compare: return Compares;
    case StateValues::Cull: return Culls;
    case StateValues::ColorMask: return ColorBits;
    }
    return {};
}

} // namespace

std::span<const RenderStateInfo> RenderStates()
{
    return States;
}

const RenderStateInfo* FindRenderState(std::string_view name)
{
    for (const RenderStateInfo& info : States)
        if (detail::SameWordIgnoringCase(info.name, name))
            return &info;
    return nullptr;
}

const RenderStateInfo* FindRenderState(RenderState state)
{
    for (const RenderStateInfo& info : States)
        if (info.state == state)
            return &info;
    return nullptr;
}

std::optional<uint32_t> StateValueByName(StateValues values, std::string_view name)
{
    return detail::FindValue(Table(values), name);
}

bool IsValidStateValue(StateValues values, uint32_t value)
{
    // A mask is any combination of its bits, 0 (nothing written) included.
    if (values == StateValues::ColorMask)
        return (value & ~AllColorBits) == 0;
    return detail::HoldsValue(Table(values), value);
}

std::string StateValueNames(StateValues values)
{
    return detail::ListNames(Table(values));
}

} // namespace fx
