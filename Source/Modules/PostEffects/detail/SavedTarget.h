// Render target 0 and the viewport as a multi-pass operation found them, put back once its passes
// into targets of its own are done. The reference to the saved surface is given back however the
// operation ends.
#pragma once

#include "Platform/Gfx/Direct3D9.h"

namespace postfx::detail {

class SavedTarget {
public:
    SavedTarget();
    ~SavedTarget();
    SavedTarget(const SavedTarget&) = delete;
    SavedTarget& operator=(const SavedTarget&) = delete;

    // Binds the saved surface to slot 0 again and then the saved viewport (binding slot 0 resets
    // the viewport to the whole target).
    void Restore();
    const D3DVIEWPORT9& Viewport() const { return viewport; }

private:
    D3DVIEWPORT9 viewport{};
    IDirect3DSurface9* surface = nullptr;
};

} // namespace postfx::detail
