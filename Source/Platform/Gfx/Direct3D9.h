// The Direct3D-9-shaped graphics interface: what engine code includes where it would include
// d3d9.h. The objects come from a backend's creation entry point (CreateRecorderDirect3D, the GL
// one), handed to the framework as a Direct3DCreator.
#pragma once

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/IDirect3D9.h"
#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DCubeTexture9.h"
#include "Platform/Gfx/IDirect3DDevice9.h"
#include "Platform/Gfx/IDirect3DIndexBuffer9.h"
#include "Platform/Gfx/IDirect3DResource9.h"
#include "Platform/Gfx/IDirect3DSurface9.h"
#include "Platform/Gfx/IDirect3DTexture9.h"
#include "Platform/Gfx/IDirect3DVertexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"
#include "Platform/Gfx/IDirect3DVolume9.h"
#include "Platform/Gfx/IDirect3DVolumeTexture9.h"
