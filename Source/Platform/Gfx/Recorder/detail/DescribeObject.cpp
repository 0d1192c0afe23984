#include "Platform/Gfx/Recorder/detail/DescribeObject.h"

#include "Platform/Gfx/Direct3D9.h"

namespace {

void DescribeSurface(const D3DSURFACE_DESC& desc, LiveObject& live)
{
    live.pool = desc.Pool;
    live.format = desc.Format;
    live.usage = desc.Usage;
    live.width = desc.Width;
    live.height = desc.Height;
    live.depth = 1;
}

void DescribeTexture(const IDirect3DBaseTexture9& texture, LiveObject& live)
{
    live.pool = texture.Pool();
    live.format = texture.Format();
    live.usage = texture.Usage();
}

} // namespace

LiveObject DescribeObject(ObjectKind kind, const Unknown& object)
{
    LiveObject live{kind, &object, object.CallerReferences()};
    switch (kind) {
    case ObjectKind::Device:
        DescribeSurface(static_cast<const IDirect3DDevice9&>(object).BackBuffer().Desc(), live);
        break;
    case ObjectKind::Surface:
        DescribeSurface(static_cast<const IDirect3DSurface9&>(object).Desc(), live);
        break;
    case ObjectKind::Texture: {
        const auto& texture = static_cast<const IDirect3DTexture9&>(object);
        DescribeTexture(texture, live);
        live.width = texture.LevelSurface(0).Desc().Width;
        live.height = texture.LevelSurface(0).Desc().Height;
        live.depth = 1;
        break;
    }
    case ObjectKind::CubeTexture: {
        const auto& texture = static_cast<const IDirect3DCubeTexture9&>(object);
        DescribeTexture(texture, live);
        live.width = live.height = texture.FaceSurface(D3DCUBEMAP_FACE_POSITIVE_X, 0).Desc().Width;
        live.depth = 1;
        break;
    }
    case ObjectKind::VolumeTexture: {
        const auto& texture = static_cast<const IDirect3DVolumeTexture9&>(object);
        DescribeTexture(texture, live);
        const D3DVOLUME_DESC& desc = texture.LevelVolume(0).Desc();
        live.width = desc.Width;
        live.height = desc.Height;
        live.depth = desc.Depth;
        break;
    }
    case ObjectKind::VertexBuffer: {
        const D3DVERTEXBUFFER_DESC& desc = static_cast<const IDirect3DVertexBuffer9&>(object).Desc();
        live.pool = desc.Pool;
        live.format = desc.Format;
        live.usage = desc.Usage;
        live.width = desc.Size;
        break;
    }
    case ObjectKind::IndexBuffer: {
        const D3DINDEXBUFFER_DESC& desc = static_cast<const IDirect3DIndexBuffer9&>(object).Desc();
        live.pool = desc.Pool;
        live.format = desc.Format;
        live.usage = desc.Usage;
        live.width = desc.Size;
        break;
    }
    case ObjectKind::VertexDeclaration:
        live.pool = D3DPOOL_MANAGED;
        break;
    }
    return live;
}
