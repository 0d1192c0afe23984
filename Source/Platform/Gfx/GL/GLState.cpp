#include "Platform/Gfx/GL/GLState.h"

#include "Platform/Fx/RenderStates.h"

namespace {

constexpr DWORD kFalse = 0;
constexpr DWORD kTrue = 1;
constexpr DWORD kAllChannels = 0xF;

GLenum BlendFactor(DWORD blend)
{
    switch (static_cast<fx::Blend>(blend)) {
    case fx::Blend::Zero: return GL_ZERO;
    case fx::Blend::One: return GL_ONE;
    case fx::Blend::SrcColor: return GL_SRC_COLOR;
    case fx::Blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case fx::Blend::SrcAlpha: return GL_SRC_ALPHA;
    case fx::Blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case fx::Blend::DestAlpha: return GL_DST_ALPHA;
    case fx::Blend::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case fx::Blend::DestColor: return GL_DST_COLOR;
    case fx::Blend::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    case fx::Blend::SrcAlphaSat: return GL_SRC_ALPHA_SATURATE;
    }
    return GL_ONE;
}

GLenum BlendEquation(DWORD op)
{
    switch (static_cast<fx::BlendOp>(op)) {
    case fx::BlendOp::Add: return GL_FUNC_ADD;
    case fx::BlendOp::Subtract: return GL_FUNC_SUBTRACT;
    case fx::BlendOp::RevSubtract: return GL_FUNC_REVERSE_SUBTRACT;
    case fx::BlendOp::Min: return GL_MIN;
    case fx::BlendOp::Max: return GL_MAX;
    }
    return GL_FUNC_ADD;
}

// D3DCMPFUNC runs NEVER..ALWAYS in GL's order.
GLenum Comparison(DWORD compare)
{
    return GL_NEVER + (compare - static_cast<DWORD>(fx::Compare::Never));
}

void Enable(GLenum capability, bool on)
{
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// Culling by the winding a triangle has in clip space (y up), as Direct3D names it: with the
// upper-left clip origin GL judges facing in that same space, so CCW front faces make GL's back
// faces the clockwise ones.
void ApplyCull(DWORD cull)
{
    const auto mode = static_cast<fx::Cull>(cull);
    Enable(GL_CULL_FACE, mode != fx::Cull::None);
    glFrontFace(GL_CCW);
    glCullFace(mode == fx::Cull::CW ? GL_BACK : GL_FRONT);
}

void ApplyColourMask(GLuint target, DWORD mask)
{
    glColorMaski(target, (mask & fx::ColorWriteRed) != 0, (mask & fx::ColorWriteGreen) != 0,
                 (mask & fx::ColorWriteBlue) != 0, (mask & fx::ColorWriteAlpha) != 0);
}

// The field of a state in a set of values (a const one for reading), or null.
template <class Values>
auto* FieldOf(Values& values, DWORD state)
{
    using Field = decltype(&values.zEnable);
    switch (static_cast<fx::RenderState>(state)) {
    case fx::RenderState::ZEnable: return &values.zEnable;
    case fx::RenderState::ZWriteEnable: return &values.zWriteEnable;
    case fx::RenderState::ZFunc: return &values.zFunc;
    case fx::RenderState::CullMode: return &values.cullMode;
    case fx::RenderState::AlphaBlendEnable: return &values.alphaBlendEnable;
    case fx::RenderState::SrcBlend: return &values.srcBlend;
    case fx::RenderState::DestBlend: return &values.destBlend;
    case fx::RenderState::BlendOp: return &values.blendOp;
    case fx::RenderState::SeparateAlphaBlendEnable: return &values.separateAlphaBlendEnable;
    case fx::RenderState::SrcBlendAlpha: return &values.srcBlendAlpha;
    case fx::RenderState::DestBlendAlpha: return &values.destBlendAlpha;
    case fx::RenderState::BlendOpAlpha: return &values.blendOpAlpha;
    case fx::RenderState::ColorWriteEnable: return &values.colorWriteEnable[0];
    case fx::RenderState::ColorWriteEnable1: return &values.colorWriteEnable[1];
    case fx::RenderState::ColorWriteEnable2: return &values.colorWriteEnable[2];
    case fx::RenderState::ColorWriteEnable3: return &values.colorWriteEnable[3];
    }
    return static_cast<Field>(nullptr);
}

} // namespace

GLState::GLState()
{
    for (const fx::RenderStateInfo& info : fx::RenderStates())
        *FieldOf(wanted_, static_cast<DWORD>(info.state)) = info.initial;
    applied_ = wanted_;
}

bool GLState::Set(DWORD state, DWORD value)
{
    const fx::RenderStateInfo* info = fx::FindRenderState(static_cast<fx::RenderState>(state));
    DWORD* field = FieldOf(wanted_, state);
    if (!info || !field || !fx::IsValidStateValue(info->values, value)) {
        return false;
    }
    *field = value;
    return true;
}

bool GLState::Get(DWORD state, DWORD& value) const
{
    const DWORD* field = FieldOf(wanted_, state);
    if (!field) {
        return false;
    }
    value = *field;
    return true;
}

void GLState::SetScissor(bool on)
{
    if (!known_ || scissor_ != on) {
        Enable(GL_SCISSOR_TEST, on);
        scissor_ = on;
    }
}

void GLState::ApplyForDraw()
{
    SetScissor(false);
    if (known_ && wanted_ == applied_) {
        return;
    }
    const Values& w = wanted_;
    const Values& a = applied_;
    const bool all = !known_;
    if (all || w.zEnable != a.zEnable) {
        Enable(GL_DEPTH_TEST, w.zEnable != kFalse);
    }
    if (all || w.zWriteEnable != a.zWriteEnable) {
        glDepthMask(w.zWriteEnable != kFalse ? GL_TRUE : GL_FALSE);
    }
    if (all || w.zFunc != a.zFunc) {
        glDepthFunc(Comparison(w.zFunc));
    }
    if (all || w.cullMode != a.cullMode) {
        ApplyCull(w.cullMode);
    }
    if (all || w.alphaBlendEnable != a.alphaBlendEnable) {
        Enable(GL_BLEND, w.alphaBlendEnable != kFalse);
    }
    const bool separate = w.separateAlphaBlendEnable != kFalse;
    const DWORD srcAlpha = separate ? w.srcBlendAlpha : w.srcBlend;
    const DWORD destAlpha = separate ? w.destBlendAlpha : w.destBlend;
    const DWORD opAlpha = separate ? w.blendOpAlpha : w.blendOp;
    glBlendFuncSeparate(BlendFactor(w.srcBlend), BlendFactor(w.destBlend), BlendFactor(srcAlpha),
                        BlendFactor(destAlpha));
    glBlendEquationSeparate(BlendEquation(w.blendOp), BlendEquation(opAlpha));
    for (GLuint target = 0; target < w.colorWriteEnable.size(); ++target) {
        if (all || w.colorWriteEnable[target] != a.colorWriteEnable[target]) {
            ApplyColourMask(target, w.colorWriteEnable[target]);
        }
    }
    applied_ = wanted_;
    known_ = true;
}

void GLState::PrepareClear()
{
    SetScissor(true);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    if (known_) {
        applied_.zWriteEnable = kTrue;
        applied_.colorWriteEnable = {kAllChannels, kAllChannels, kAllChannels, kAllChannels};
    }
}

void GLState::PrepareCopy()
{
    SetScissor(false);
}
