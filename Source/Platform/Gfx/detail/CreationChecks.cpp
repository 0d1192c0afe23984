#include "Platform/Gfx/detail/CreationChecks.h"

#include <algorithm>

#include "Platform/Gfx/FormatInfo.h"
#include "Platform/Gfx/detail/MipChain.h"

namespace {

bool KnownPool(D3DPOOL pool)
{
    return pool == D3DPOOL_DEFAULT || pool == D3DPOOL_MANAGED || pool == D3DPOOL_SYSTEMMEM;
}

std::optional<FrontCheck> CheckTextureUsage(D3DRESOURCETYPE type, DWORD usage, const FormatInfo& format, D3DPOOL pool)
{
    constexpr DWORD known = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC;
    const bool renderTarget = usage & D3DUSAGE_RENDERTARGET;
    const bool depthStencil = usage & D3DUSAGE_DEPTHSTENCIL;
    const bool dynamic = usage & D3DUSAGE_DYNAMIC;
    if (usage & ~known) {
        return FrontCheck::UnknownUsage;
    }
    if (!KnownPool(pool)) {
        return FrontCheck::UnknownPool;
    }
    if ((renderTarget || depthStencil) && (pool != D3DPOOL_DEFAULT || dynamic || (renderTarget && depthStencil))) {
        return FrontCheck::UsageConflict;
    }
    if ((renderTarget && type == D3DRTYPE_VOLUMETEXTURE) || (depthStencil && type != D3DRTYPE_TEXTURE)) {
        return FrontCheck::UsageForType;
    }
    if (format.kind == FormatKind::Index || (renderTarget && format.kind != FormatKind::Colour) ||
        (format.kind == FormatKind::Depth) != depthStencil) {
        return FrontCheck::FormatForUsage;
    }
    if (dynamic && pool == D3DPOOL_MANAGED) {
        return FrontCheck::UsageConflict;
    }
    return {};
}

bool ElementKnown(const D3DVERTEXELEMENT9& element)
{
    return element.Stream < MAXD3DDECLSTREAMS && element.Type < D3DDECLTYPE_UNUSED &&
           element.Method == D3DDECLMETHOD_DEFAULT && element.Usage <= D3DDECLUSAGE_SAMPLE &&
           element.UsageIndex < 16 && element.Offset % 4 == 0;
}

} // namespace

std::optional<FrontCheck> CheckTextureCreation(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth, UINT& levels,
                                               DWORD usage, D3DFORMAT format, D3DPOOL pool)
{
    const FormatInfo* info = DescribeFormat(format);
    if (!info) {
        return FrontCheck::UnknownFormat;
    }
    if (width == 0 || height == 0 || depth == 0) {
        return FrontCheck::ZeroSize;
    }
    if (const auto failed = CheckTextureUsage(type, usage, *info, pool)) {
        return failed;
    }
    const UINT chain = FullMipChainLength(width, height, depth);
    if (levels > chain) {
        return FrontCheck::TooManyLevels;
    }
    if (levels == 0) {
        levels = chain;
    }
    return {};
}

std::optional<FrontCheck> CheckDepthStencilCreation(UINT width, UINT height, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample)
{
    if (width == 0 || height == 0) {
        return FrontCheck::ZeroSize;
    }
    if (!IsDepthFormat(format)) {
        return FrontCheck::FormatForUsage;
    }
    if (multiSample > D3DMULTISAMPLE_16_SAMPLES) {
        return FrontCheck::UnknownMultiSampleType;
    }
    return {};
}

std::optional<FrontCheck> CheckBufferCreation(UINT length, DWORD usage, D3DPOOL pool)
{
    constexpr DWORD known = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING |
                            D3DUSAGE_DONOTCLIP | D3DUSAGE_POINTS;
    if (length == 0) {
        return FrontCheck::ZeroSize;
    }
    if (usage & ~known) {
        return FrontCheck::UnknownUsage;
    }
    if (!KnownPool(pool)) {
        return FrontCheck::UnknownPool;
    }
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED) {
        return FrontCheck::UsageConflict;
    }
    return {};
}

std::optional<FrontCheck> CheckVertexElements(const D3DVERTEXELEMENT9* list,
                                              std::vector<D3DVERTEXELEMENT9>& elements)
{
    elements.clear();
    for (UINT i = 0; i <= MAXD3DDECLLENGTH; ++i) {
        const D3DVERTEXELEMENT9& element = list[i];
        if (element == D3DDECL_END()) {
            return {};
        }
        const bool repeated = std::any_of(elements.begin(), elements.end(), [&](const D3DVERTEXELEMENT9& seen) {
            return seen.Usage == element.Usage && seen.UsageIndex == element.UsageIndex;
        });
        if (i == MAXD3DDECLLENGTH || !ElementKnown(element) || repeated) {
            return FrontCheck::VertexElements;
        }
        elements.push_back(element);
    }
    return FrontCheck::VertexElements;
}
