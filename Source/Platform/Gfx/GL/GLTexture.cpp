// The GL backend's images: depth-stencil surfaces, 2D, cube and volume textures with their level
// surfaces and volumes, and the locks that hand out their bytes.
#include "Platform/Gfx/GL/GLBackend.h"

#include <memory>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/GL/GLDeviceData.h"
#include "Platform/Gfx/GL/GLFormat.h"
#include "Platform/Gfx/GL/GLResources.h"

namespace {

constexpr DWORD kCreationUsage = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC;

void DrainErrors()
{
    while (glGetError() != GL_NO_ERROR) {
    }
}

HRESULT AllocationResult()
{
    HRESULT result = D3D_OK;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        result = error == GL_OUT_OF_MEMORY ? D3DERR_OUTOFVIDEOMEMORY : D3DERR_DRIVERINTERNALERROR;
    }
    return result;
}

UINT LevelSize(UINT size, UINT level)
{
    return std::max(1u, size >> level);
}

// A new texture bound on the scratch unit, its levels limited to the chain the front built and
// its sampling reading what Direct3D reads. Direct3D samples with point filtering until told
// otherwise.
std::unique_ptr<GLTextureData> NewTexture(GLDeviceData& device, GLenum target, UINT levels, const GLFormat& format)
{
    auto texture = std::make_unique<GLTextureData>(device.Token(), target);
    glActiveTexture(device.scratchUnit);
    glBindTexture(target, texture->name);
    glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels - 1));
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteriv(target, GL_TEXTURE_SWIZZLE_RGBA, format.swizzle.data());
    return texture;
}

void BindScratch(GLDeviceData& device, GLenum target, GLuint texture)
{
    glActiveTexture(device.scratchUnit);
    glBindTexture(target, texture);
}

void AllocateImage(GLenum imageTarget, GLint level, const GLFormat& format, UINT width, UINT height)
{
    glTexImage2D(imageTarget, level, static_cast<GLint>(format.internalFormat), static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, format.transferFormat, format.transferType, nullptr);
}

std::unique_ptr<GLSurfaceData> LevelSurface(const IDirect3DSurface9& surface, const GLTextureData& texture,
                                            GLenum imageTarget)
{
    const D3DSURFACE_DESC& desc = surface.Desc();
    auto data = std::make_unique<GLSurfaceData>(texture.context, desc.Format, desc.Width, desc.Height);
    data->texture = texture.name;
    data->bindTarget = texture.target;
    data->imageTarget = imageTarget;
    data->level = static_cast<GLint>(surface.Level());
    return data;
}

UINT BytesPerPixel(D3DFORMAT format)
{
    return DescribeFormat(format)->bytesPerPixel;
}

} // namespace

HRESULT GLBackend::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                             D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, BOOL,
                                             IDirect3DSurface9** ppSurface, HANDLE*)
{
    if (!adapter_.Offers(D3DRTYPE_SURFACE, Format, D3DUSAGE_DEPTHSTENCIL) ||
        !adapter_.OffersMultiSample(Format, MultiSample, MultisampleQuality) ||
        !adapter_.Fits(D3DRTYPE_TEXTURE, Width, Height, 1)) {
        return D3DERR_INVALIDCALL;
    }
    auto data = std::make_unique<GLSurfaceData>(Data().Token(), Format, Width, Height);
    if (!data->MakeRenderbuffer(adapter_.SamplesOf(MultiSample, MultisampleQuality))) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    (*ppSurface)->Backend().Attach(std::move(data));
    return D3D_OK;
}

HRESULT GLBackend::CreateTexture(UINT Width, UINT Height, UINT, DWORD Usage, D3DFORMAT Format, D3DPOOL,
                                 IDirect3DTexture9** ppTexture, HANDLE*)
{
    if (!adapter_.Offers(D3DRTYPE_TEXTURE, Format, Usage & kCreationUsage) ||
        !adapter_.Fits(D3DRTYPE_TEXTURE, Width, Height, 1)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DTexture9& texture = **ppTexture;
    const GLFormat& format = *FindGLFormat(Format);
    DrainErrors();
    auto data = NewTexture(Data(), GL_TEXTURE_2D, texture.GetLevelCount(), format);
    for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
        AllocateImage(GL_TEXTURE_2D, static_cast<GLint>(level), format, LevelSize(Width, level),
                      LevelSize(Height, level));
    }
    if (const HRESULT hr = AllocationResult(); FAILED(hr)) {
        return hr;
    }
    for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
        IDirect3DSurface9& surface = texture.LevelSurface(level);
        surface.Backend().Attach(LevelSurface(surface, *data, GL_TEXTURE_2D));
    }
    texture.Backend().Attach(std::move(data));
    return D3D_OK;
}

HRESULT GLBackend::CreateCubeTexture(UINT EdgeLength, UINT, DWORD Usage, D3DFORMAT Format, D3DPOOL,
                                     IDirect3DCubeTexture9** ppCubeTexture, HANDLE*)
{
    if (!adapter_.Offers(D3DRTYPE_CUBETEXTURE, Format, Usage & kCreationUsage) ||
        !adapter_.Fits(D3DRTYPE_CUBETEXTURE, EdgeLength, EdgeLength, 1)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DCubeTexture9& texture = **ppCubeTexture;
    const GLFormat& format = *FindGLFormat(Format);
    DrainErrors();
    auto data = NewTexture(Data(), GL_TEXTURE_CUBE_MAP, texture.GetLevelCount(), format);
    // Direct3D's faces run +X, -X, +Y, -Y, +Z, -Z, as GL's face targets do; both store a face's
    // top row first, so faces go up unchanged.
    for (GLenum face = 0; face < 6; ++face) {
        for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
            const UINT edge = LevelSize(EdgeLength, level);
            AllocateImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, static_cast<GLint>(level), format, edge, edge);
        }
    }
    if (const HRESULT hr = AllocationResult(); FAILED(hr)) {
        return hr;
    }
    for (GLenum face = 0; face < 6; ++face) {
        for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
            IDirect3DSurface9& surface = texture.FaceSurface(static_cast<D3DCUBEMAP_FACES>(face), level);
            surface.Backend().Attach(LevelSurface(surface, *data, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face));
        }
    }
    texture.Backend().Attach(std::move(data));
    return D3D_OK;
}

HRESULT GLBackend::CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT, DWORD Usage, D3DFORMAT Format,
                                       D3DPOOL, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE*)
{
    if (!adapter_.Offers(D3DRTYPE_VOLUMETEXTURE, Format, Usage & kCreationUsage) ||
        !adapter_.Fits(D3DRTYPE_VOLUMETEXTURE, Width, Height, Depth)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DVolumeTexture9& texture = **ppVolumeTexture;
    const GLFormat& format = *FindGLFormat(Format);
    DrainErrors();
    auto data = NewTexture(Data(), GL_TEXTURE_3D, texture.GetLevelCount(), format);
    for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
        glTexImage3D(GL_TEXTURE_3D, static_cast<GLint>(level), static_cast<GLint>(format.internalFormat),
                     static_cast<GLsizei>(LevelSize(Width, level)), static_cast<GLsizei>(LevelSize(Height, level)),
                     static_cast<GLsizei>(LevelSize(Depth, level)), 0, format.transferFormat, format.transferType,
                     nullptr);
    }
    if (const HRESULT hr = AllocationResult(); FAILED(hr)) {
        return hr;
    }
    for (UINT level = 0; level < texture.GetLevelCount(); ++level) {
        IDirect3DVolume9& volume = texture.LevelVolume(level);
        const D3DVOLUME_DESC& desc = volume.Desc();
        volume.Backend().Attach(std::make_unique<GLVolumeData>(data->name, static_cast<GLint>(level), desc.Format,
                                                               desc.Width, desc.Height, desc.Depth));
    }
    texture.Backend().Attach(std::move(data));
    return D3D_OK;
}

HRESULT GLBackend::LockRect(IDirect3DSurface9* pSurface, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags)
{
    auto& surface = pSurface->Backend().As<GLSurfaceData>();
    const UINT bytesPerPixel = BytesPerPixel(surface.d3dFormat);
    const UINT pitch = surface.width * bytesPerPixel;
    surface.lockBytes.resize(size_t{pitch} * surface.height);
    // A discarding lock promises to write everything it locked; any other sees the image as it is.
    if (!(Flags & D3DLOCK_DISCARD)) {
        BindScratch(Data(), surface.bindTarget, surface.texture);
        glGetTexImage(surface.imageTarget, surface.level, surface.format->transferFormat,
                      surface.format->transferType, surface.lockBytes.data());
    }
    surface.lockRect = pRect ? *pRect : RECT{0, 0, static_cast<LONG>(surface.width), static_cast<LONG>(surface.height)};
    surface.lockWrites = !(Flags & D3DLOCK_READONLY);
    pLockedRect->Pitch = static_cast<INT>(pitch);
    pLockedRect->pBits = surface.lockBytes.data() + size_t{pitch} * static_cast<size_t>(surface.lockRect.top) +
                         size_t{bytesPerPixel} * static_cast<size_t>(surface.lockRect.left);
    return D3D_OK;
}

HRESULT GLBackend::UnlockRect(IDirect3DSurface9* pSurface)
{
    auto& surface = pSurface->Backend().As<GLSurfaceData>();
    if (surface.lockWrites) {
        const RECT& rect = surface.lockRect;
        const size_t offset = (size_t{surface.width} * static_cast<size_t>(rect.top) + static_cast<size_t>(rect.left)) *
                              BytesPerPixel(surface.d3dFormat);
        BindScratch(Data(), surface.bindTarget, surface.texture);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(surface.width));
        glTexSubImage2D(surface.imageTarget, surface.level, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, surface.format->transferFormat, surface.format->transferType,
                        surface.lockBytes.data() + offset);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    // Images locked every frame keep their bytes; the rest give them back.
    if (!(pSurface->Desc().Usage & D3DUSAGE_DYNAMIC)) {
        std::vector<BYTE>().swap(surface.lockBytes);
    }
    return D3D_OK;
}

HRESULT GLBackend::LockBox(IDirect3DVolume9* pVolume, D3DLOCKED_BOX* pLockedVolume, const D3DBOX* pBox, DWORD Flags)
{
    auto& volume = pVolume->Backend().As<GLVolumeData>();
    const UINT bytesPerPixel = BytesPerPixel(volume.d3dFormat);
    const size_t rowPitch = size_t{volume.width} * bytesPerPixel;
    const size_t slicePitch = rowPitch * volume.height;
    volume.lockBytes.resize(slicePitch * volume.depth);
    if (!(Flags & D3DLOCK_DISCARD)) {
        BindScratch(Data(), GL_TEXTURE_3D, volume.texture);
        glGetTexImage(GL_TEXTURE_3D, volume.level, volume.format->transferFormat, volume.format->transferType,
                      volume.lockBytes.data());
    }
    volume.lockBox = pBox ? *pBox : D3DBOX{0, 0, volume.width, volume.height, 0, volume.depth};
    volume.lockWrites = !(Flags & D3DLOCK_READONLY);
    pLockedVolume->RowPitch = static_cast<INT>(rowPitch);
    pLockedVolume->SlicePitch = static_cast<INT>(slicePitch);
    pLockedVolume->pBits = volume.lockBytes.data() + slicePitch * volume.lockBox.Front +
                           rowPitch * volume.lockBox.Top + size_t{bytesPerPixel} * volume.lockBox.Left;
    return D3D_OK;
}

HRESULT GLBackend::UnlockBox(IDirect3DVolume9* pVolume)
{
    auto& volume = pVolume->Backend().As<GLVolumeData>();
    if (volume.lockWrites) {
        const D3DBOX& box = volume.lockBox;
        const size_t offset =
            ((size_t{volume.height} * box.Front + box.Top) * volume.width + box.Left) * BytesPerPixel(volume.d3dFormat);
        BindScratch(Data(), GL_TEXTURE_3D, volume.texture);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(volume.width));
        glPixelStorei(GL_UNPACK_IMAGE_HEIGHT, static_cast<GLint>(volume.height));
        glTexSubImage3D(GL_TEXTURE_3D, volume.level, static_cast<GLint>(box.Left), static_cast<GLint>(box.Top),
                        static_cast<GLint>(box.Front), static_cast<GLsizei>(box.Right - box.Left),
                        static_cast<GLsizei>(box.Bottom - box.Top), static_cast<GLsizei>(box.Back - box.Front),
                        volume.format->transferFormat, volume.format->transferType, volume.lockBytes.data() + offset);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_IMAGE_HEIGHT, 0);
    }
    if (!(pVolume->Desc().Usage & D3DUSAGE_DYNAMIC)) {
        std::vector<BYTE>().swap(volume.lockBytes);
    }
    return D3D_OK;
}
