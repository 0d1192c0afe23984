// How effects and pools keep the textures set on their parameters: as the device keeps what is
// bound to it, by a device hold, not a caller's reference. A texture set on an effect is then no
// obstacle to a device Reset (which refuses while callers reference default-pool resources), and
// it lives until the parameter changes or the effect goes. The hold also keeps the texture's
// device alive, since a texture's destruction reaches its device.
#pragma once

#include "Platform/Gfx/GfxTypes.h"

namespace fx::detail {

class TextureHold {
public:
    TextureHold() = default;
    explicit TextureHold(IDirect3DBaseTexture9* texture);
    ~TextureHold();
    TextureHold(const TextureHold& other);
    TextureHold& operator=(const TextureHold& other);

    IDirect3DBaseTexture9* Get() const { return texture_; }

private:
    void Take();
    void Drop();

    IDirect3DBaseTexture9* texture_ = nullptr;
};

} // namespace fx::detail
