#include "Platform/Gfx/Recorder/RecorderConfig.h"

D3DCAPS9 CapableShaderModel3Caps()
{
    constexpr DWORD allFilters = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                                 D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    constexpr DWORD allAddressing =
        D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER;
    D3DCAPS9 caps;
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.AdapterOrdinal = 0;
    caps.Caps2 = D3DCAPS2_DYNAMICTEXTURES | D3DCAPS2_FULLSCREENGAMMA;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO | D3DPRESENT_INTERVAL_THREE |
                                 D3DPRESENT_INTERVAL_FOUR | D3DPRESENT_INTERVAL_IMMEDIATE;
    caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_PUREDEVICE;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW |
                             D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP |
                             D3DPMISCCAPS_INDEPENDENTWRITEMASKS | D3DPMISCCAPS_SEPARATEALPHABLEND |
                             D3DPMISCCAPS_MRTINDEPENDENTBITDEPTHS | D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING;
    caps.ZCmpCaps = 0xFF;
    caps.AlphaCmpCaps = 0xFF;
    caps.SrcBlendCaps = 0x7FF;
    caps.DestBlendCaps = 0x7FF;
    caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_PROJECTED |
                       D3DPTEXTURECAPS_CUBEMAP | D3DPTEXTURECAPS_VOLUMEMAP | D3DPTEXTURECAPS_MIPMAP |
                       D3DPTEXTURECAPS_MIPVOLUMEMAP | D3DPTEXTURECAPS_MIPCUBEMAP;
    caps.TextureFilterCaps = allFilters;
    caps.CubeTextureFilterCaps = allFilters;
    caps.VolumeTextureFilterCaps = allFilters;
    caps.TextureAddressCaps = allAddressing;
    caps.VolumeTextureAddressCaps = allAddressing;
    caps.MaxTextureWidth = 8192;
    caps.MaxTextureHeight = 8192;
    caps.MaxVolumeExtent = 2048;
    caps.MaxTextureAspectRatio = 8192;
    caps.MaxAnisotropy = 16;
    caps.MaxSimultaneousTextures = 8;
    caps.VertexProcessingCaps = D3DVTXPCAPS_TEXGEN | D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                                D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps.MaxPrimitiveCount = 0xFFFFF;
    caps.MaxVertexIndex = 0xFFFFFF;
    caps.MaxStreams = MAXD3DDECLSTREAMS;
    caps.MaxStreamStride = 508;
    caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
    caps.MaxVertexShaderConst = 256;
    caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
    caps.DeclTypes = D3DDTCAPS_UBYTE4 | D3DDTCAPS_UBYTE4N | D3DDTCAPS_SHORT2N | D3DDTCAPS_SHORT4N |
                     D3DDTCAPS_USHORT2N | D3DDTCAPS_USHORT4N | D3DDTCAPS_FLOAT16_2 | D3DDTCAPS_FLOAT16_4;
    caps.NumSimultaneousRTs = 4;
    caps.StretchRectFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                                 D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps.MaxVertexShader30InstructionSlots = 32768;
    caps.MaxPixelShader30InstructionSlots = 32768;
    return caps;
}

std::vector<D3DDISPLAYMODE> CommonDisplayModes()
{
    return {
        {640, 480, 60, D3DFMT_X8R8G8B8},   {800, 600, 60, D3DFMT_X8R8G8B8},   {1024, 768, 60, D3DFMT_X8R8G8B8},
        {1024, 768, 75, D3DFMT_X8R8G8B8},  {1280, 720, 60, D3DFMT_X8R8G8B8},  {1280, 1024, 60, D3DFMT_X8R8G8B8},
        {1366, 768, 60, D3DFMT_X8R8G8B8},  {1600, 900, 60, D3DFMT_X8R8G8B8},  {1920, 1080, 60, D3DFMT_X8R8G8B8},
    };
}

std::vector<FormatSupport> CapableFormatSupport()
{
    constexpr DWORD renderable = D3DUSAGE_RENDERTARGET | D3DUSAGE_DYNAMIC | D3DUSAGE_QUERY_FILTER |
                                 D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING;
    constexpr DWORD sampled = D3DUSAGE_DYNAMIC | D3DUSAGE_QUERY_FILTER;
    constexpr D3DFORMAT renderableFormats[] = {
        D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A8B8G8R8, D3DFMT_X8B8G8R8, D3DFMT_R16F,
        D3DFMT_G16R16F,  D3DFMT_A16B16G16R16F, D3DFMT_R32F, D3DFMT_G32R32F, D3DFMT_A32B32G32R32F,
    };
    constexpr D3DFORMAT sampledFormats[] = {D3DFMT_L8, D3DFMT_A8};
    constexpr D3DFORMAT depthFormats[] = {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D24X8};

    std::vector<FormatSupport> formats;
    for (D3DFORMAT format : renderableFormats) {
        formats.push_back({D3DRTYPE_TEXTURE, format, renderable});
        formats.push_back({D3DRTYPE_CUBETEXTURE, format, renderable});
        formats.push_back({D3DRTYPE_VOLUMETEXTURE, format, sampled});
        formats.push_back({D3DRTYPE_SURFACE, format, D3DUSAGE_RENDERTARGET});
    }
    for (D3DFORMAT format : sampledFormats) {
        formats.push_back({D3DRTYPE_TEXTURE, format, sampled});
        formats.push_back({D3DRTYPE_CUBETEXTURE, format, sampled});
        formats.push_back({D3DRTYPE_VOLUMETEXTURE, format, sampled});
    }
    for (D3DFORMAT format : depthFormats) {
        formats.push_back({D3DRTYPE_SURFACE, format, D3DUSAGE_DEPTHSTENCIL});
    }
    return formats;
}
