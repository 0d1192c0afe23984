// The capabilities the backend reports: what GL 3.3 core offers, sized by the implementation's
// real limits.
#include "Platform/Gfx/GL/GLAdapter.h"

#include <algorithm>

#include "Platform/Gfx/DeviceState.h"

namespace {

constexpr DWORD kAllComparisons = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL | D3DPCMPCAPS_LESSEQUAL |
                                  D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL | D3DPCMPCAPS_GREATEREQUAL |
                                  D3DPCMPCAPS_ALWAYS;
constexpr DWORD kAllBlends = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                             D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA |
                             D3DPBLENDCAPS_DESTALPHA | D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR |
                             D3DPBLENDCAPS_INVDESTCOLOR | D3DPBLENDCAPS_SRCALPHASAT;
constexpr DWORD kFilters = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                           D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
constexpr DWORD kAddressing =
    D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER;

} // namespace

HRESULT GLAdapter::Caps(D3DCAPS9* caps)
{
    const GLLimits* limits = Limits();
    if (!limits) {
        return D3DERR_NOTAVAILABLE;
    }
    *caps = D3DCAPS9{};
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps->Caps2 = D3DCAPS2_DYNAMICTEXTURES;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_PUREDEVICE;
    // GL 3.3 blends, masks and culls every draw buffer alike, float targets included.
    caps->PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW |
                              D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP |
                              D3DPMISCCAPS_INDEPENDENTWRITEMASKS | D3DPMISCCAPS_SEPARATEALPHABLEND |
                              D3DPMISCCAPS_MRTINDEPENDENTBITDEPTHS | D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING;
    caps->ZCmpCaps = kAllComparisons;
    caps->AlphaCmpCaps = kAllComparisons;
    caps->SrcBlendCaps = kAllBlends;
    caps->DestBlendCaps = kAllBlends;
    // Textures of any size (no POW2 bit: GL 3.3 has no restriction on non-power-of-two sizes).
    caps->TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_PROJECTED |
                        D3DPTEXTURECAPS_CUBEMAP | D3DPTEXTURECAPS_VOLUMEMAP | D3DPTEXTURECAPS_MIPMAP |
                        D3DPTEXTURECAPS_MIPVOLUMEMAP | D3DPTEXTURECAPS_MIPCUBEMAP;
    caps->TextureFilterCaps = kFilters;
    caps->CubeTextureFilterCaps = kFilters;
    caps->VolumeTextureFilterCaps = kFilters;
    caps->TextureAddressCaps = kAddressing;
    caps->VolumeTextureAddressCaps = kAddressing;
    caps->MaxTextureWidth = limits->maxTextureSize;
    caps->MaxTextureHeight = limits->maxTextureSize;
    caps->MaxVolumeExtent = limits->max3DTextureSize;
    caps->MaxTextureAspectRatio = limits->maxTextureSize;
    caps->MaxAnisotropy = limits->maxAnisotropy;
    caps->MaxSimultaneousTextures = std::min<DWORD>(8, limits->maxTextureUnits);
    // Vertex programs run on the GPU; the value only has to say that they are not emulated.
    caps->VertexProcessingCaps = D3DVTXPCAPS_TEXGEN | D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                                 D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps->MaxPrimitiveCount = 0x00FFFFFF;
    caps->MaxVertexIndex = 0x00FFFFFF;
    caps->MaxStreams = std::min<DWORD>(MAXD3DDECLSTREAMS, limits->maxVertexAttribs);
    caps->MaxStreamStride = 2048;
    caps->VertexShaderVersion = D3DVS_VERSION(3, 0);
    caps->PixelShaderVersion = D3DPS_VERSION(3, 0);
    caps->MaxVertexShaderConst = limits->maxVertexUniformVectors;
    caps->DeclTypes = D3DDTCAPS_UBYTE4 | D3DDTCAPS_UBYTE4N | D3DDTCAPS_SHORT2N | D3DDTCAPS_SHORT4N |
                      D3DDTCAPS_USHORT2N | D3DDTCAPS_USHORT4N | D3DDTCAPS_FLOAT16_2 | D3DDTCAPS_FLOAT16_4;
    caps->NumSimultaneousRTs = std::min<DWORD>(kMaxRenderTargets, limits->maxDrawBuffers);
    caps->StretchRectFilterCaps =
        D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps->MaxVertexShader30InstructionSlots = 32768;
    caps->MaxPixelShader30InstructionSlots = 32768;
    return D3D_OK;
}
