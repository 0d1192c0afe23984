#include "Platform/Gfx/detail/CreationChecks.h"

#include <algorithm>

#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/detail/MipChain.h"

namespace {

bool KnownPool(D3DPOOL pool)
{
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

HRESULT CheckTextureUsage(D3DRESOURCETYPE type, DWORD usage, const FormatInfo& format, D3DPOOL pool)
{
    constexpr DWORD known = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC;
    const bool renderTarget = usage & D3DUSAGE_RENDERTARGET;
    const bool depthStencil = usage & D3DUSAGE_DEPTHSTENCIL;
    const bool dynamic = usage & D3DUSAGE_DYNAMIC;
    if ((usage & ~known) || !KnownPool(pool) || format.kind == FormatKind::Index) {
        return D3DERR_INVALIDCALL;
    }
    if ((renderTarget || depthStencil) && (pool != D3DPOOL_DEFAULT || dynamic || (renderTarget && depthStencil))) {
        return D3DERR_INVALIDCALL;
    }
    if (renderTarget && (format.kind != FormatKind::Colour || type == D3DRTYPE_VOLUMETEXTURE)) {
        return D3DERR_INVALIDCALL;
    }
    if ((format.kind == FormatKind::Depth) != depthStencil || (depthStencil && type != D3DRTYPE_TEXTURE)) {
        return D3DERR_INVALIDCALL;
    }
    if (dynamic && pool == D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

bool ElementKnown(const D3DVERTEXELEMENT9& element)
{
    return element.Stream < MAXD3DDECLSTREAMS && element.Type < D3DDECLTYPE_UNUSED &&
           element.Method == D3DDECLMETHOD_DEFAULT && element.Usage <= D3DDECLUSAGE_SAMPLE &&
           element.UsageIndex < 16 && element.Offset % 4 == 0;
}

} // namespace

HRESULT CheckTextureCreation(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth, UINT& levels, DWORD usage,
                             D3DFORMAT format, D3DPOOL pool)
{
    const FormatInfo* info = DescribeFormat(format);
    if (!info || width == 0 || height == 0 || depth == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT hr = CheckTextureUsage(type, usage, *info, pool); FAILED(hr)) {
        return hr;
    }
    const UINT chain = FullMipChainLength(width, height, depth);
    if (levels > chain) {
        return D3DERR_INVALIDCALL;
    }
    if (levels == 0) {
        levels = chain;
    }
    return D3D_OK;
}

HRESULT CheckDepthStencilCreation(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample)
{
    if (width == 0 || height == 0 || !IsDepthFormat(format) || multiSample > D3DMULTISAMPLE_16_SAMPLES) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT CheckBufferCreation(UINT length, DWORD usage, D3DPOOL pool)
{
    constexpr DWORD known = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING |
                            D3DUSAGE_DONOTCLIP | D3DUSAGE_POINTS;
    if (length == 0 || (usage & ~known) || !KnownPool(pool) ||
        ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT CheckVertexElements(const D3DVERTEXELEMENT9* list, std::vector<D3DVERTEXELEMENT9>& elements)
{
    elements.clear();
    for (UINT i = 0; i <= MAXD3DDECLLENGTH; ++i) {
        const D3DVERTEXELEMENT9& element = list[i];
        if (element == D3DDECL_END()) {
            return D3D_OK;
        }
        const bool repeated = std::any_of(elements.begin(), elements.end(), [&](const D3DVERTEXELEMENT9& seen) {
            return seen.Usage == element.Usage && seen.UsageIndex == element.UsageIndex;
        });
        if (i == MAXD3DDECLLENGTH || !ElementKnown(element) || repeated) {
            return D3DERR_INVALIDCALL;
        }
        elements.push_back(element);
    }
    return D3DERR_INVALIDCALL;
}
