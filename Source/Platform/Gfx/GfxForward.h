// Forward declarations of the Direct3D-shaped interfaces, for headers that only pass them along.
#pragma once

class IDirect3D9;
class IDirect3DDevice9;
class IDirect3DResource9;
class IDirect3DSurface9;
class IDirect3DVolume9;
class IDirect3DBaseTexture9;
class IDirect3DTexture9;
class IDirect3DCubeTexture9;
class IDirect3DVolumeTexture9;
class IDirect3DVertexBuffer9;
class IDirect3DIndexBuffer9;
class IDirect3DVertexDeclaration9;

// The effect runtime's, which the device makes for its effects (CreateEffectDriver).
namespace fx {
struct EffectDescription;
class EffectDriver;
} // namespace fx
