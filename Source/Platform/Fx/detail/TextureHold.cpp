#include "Platform/Fx/detail/TextureHold.h"

#include "Platform/Gfx/Direct3D9.h"

namespace fx::detail {

TextureHold::TextureHold(IDirect3DBaseTexture9* texture) : texture_(texture)
{
    Take();
}

TextureHold::~TextureHold()
{
    Drop();
}

TextureHold::TextureHold(const TextureHold& other) : texture_(other.texture_)
{
    Take();
}

TextureHold& TextureHold::operator=(const TextureHold& other)
{
    if (other.texture_ != texture_) {
        TextureHold copy(other);
        std::swap(texture_, copy.texture_);
    }
    return *this;
}

void TextureHold::Take()
{
    if (!texture_)
        return;
    texture_->Device().AddRef();
    texture_->AddDeviceHold();
}

void TextureHold::Drop()
{
    if (!texture_)
        return;
    // The texture may go with its hold; its device must outlive it.
    IDirect3DDevice9& device = texture_->Device();
    texture_->ReleaseDeviceHold();
    texture_ = nullptr;
    device.Release();
}

} // namespace fx::detail
