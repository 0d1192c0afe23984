// The render states a pass sets (Direct3D's SetRenderState numbers and values, as the effect
// layer's passes hold them): recorded when set, applied to GL at the next draw, and only those
// that changed. Clears and copies need GL in a state of their own (every channel written, the
// scissor on or off); they say so here, so that the next draw knows what to re-apply.
#pragma once

#include <array>

#include <epoxy/gl.h>

#include "Platform/Gfx/GfxTypes.h"

class GLState {
public:
    GLState();

    // False for a state or value outside the effect language's render states.
    bool Set(DWORD state, DWORD value);
    // The value last set (or Direct3D's default); false for a state outside that list.
    bool Get(DWORD state, DWORD& value) const;

    void ApplyForDraw();
    // Every channel, depth and stencil written, and the scissor test on.
    void PrepareClear();
    // The scissor test off (it limits blits as well as draws).
    void PrepareCopy();
    // After a context change nothing of GL's state is known.
    void Forget() { known_ = false; }

private:
    struct Values {
        DWORD zEnable;
        DWORD zWriteEnable;
        DWORD zFunc;
        DWORD cullMode;
        DWORD alphaBlendEnable;
        DWORD srcBlend;
        DWORD destBlend;
        DWORD blendOp;
        DWORD separateAlphaBlendEnable;
        DWORD srcBlendAlpha;
        DWORD destBlendAlpha;
        DWORD blendOpAlpha;
        std::array<DWORD, 4> colorWriteEnable;
        friend bool operator==(const Values&, const Values&) = default;
    };

    void SetScissor(bool on);

    Values wanted_{};
    Values applied_{};
    bool known_ = false;
    bool scissor_ = false;
};
