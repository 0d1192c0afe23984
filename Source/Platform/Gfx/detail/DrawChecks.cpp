#include "Platform/Gfx/detail/DrawChecks.h"

#include <cstdint>

#include "Platform/Gfx/IDirect3DIndexBuffer9.h"
#include "Platform/Gfx/IDirect3DSurface9.h"
#include "Platform/Gfx/IDirect3DVertexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"

namespace {

std::optional<FrontCheck> CheckStreams(const DeviceState& state)
{
    if (!state.vertexDeclaration) {
        return FrontCheck::NoDeclaration;
    }
    for (const D3DVERTEXELEMENT9& element : state.vertexDeclaration->Elements()) {
        const IDirect3DVertexBuffer9* buffer = state.streams[element.Stream].buffer;
        if (!buffer) {
            return FrontCheck::StreamUnbound;
        }
        if (buffer->Locked()) {
            return FrontCheck::Locked;
        }
    }
    return {};
}

std::optional<FrontCheck> CheckIndices(const DeviceState& state, UINT startIndex, UINT indexCount)
{
    const IDirect3DIndexBuffer9* indices = state.indices;
    if (!indices) {
        return FrontCheck::NoIndices;
    }
    if (indices->Locked()) {
        return FrontCheck::Locked;
    }
    const uint64_t indexSize = indices->Desc().Format == D3DFMT_INDEX32 ? 4 : 2;
    if ((uint64_t{startIndex} + indexCount) * indexSize > indices->Desc().Size) {
        return FrontCheck::IndicesOutside;
    }
    return {};
}

bool TargetsAgree(const DeviceState& state)
{
    const D3DSURFACE_DESC& first = state.renderTargets[0]->Desc();
    for (const IDirect3DSurface9* target : state.renderTargets) {
        if (target && (target->Desc().Width != first.Width || target->Desc().Height != first.Height)) {
            return false;
        }
    }
    const IDirect3DSurface9* depth = state.depthStencil;
    return !depth || (depth->Desc().Width >= first.Width && depth->Desc().Height >= first.Height);
}

} // namespace

UINT IndexCountFor(D3DPRIMITIVETYPE type, UINT primCount)
{
    switch (type) {
    case D3DPT_LINELIST: return 2 * primCount;
    case D3DPT_LINESTRIP: return primCount + 1;
    case D3DPT_TRIANGLELIST: return 3 * primCount;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primCount + 2;
    default: return 0;
    }
}

std::optional<FrontCheck> CheckIndexedDraw(const DeviceState& state, D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                           UINT minVertexIndex, UINT numVertices, UINT startIndex, UINT primCount)
{
    const UINT indexCount = IndexCountFor(type, primCount);
    if (!state.inScene) {
        return FrontCheck::SceneNotOpen;
    }
    if (primCount == 0 || numVertices == 0) {
        return FrontCheck::EmptyDraw;
    }
    if (indexCount == 0) {
        return FrontCheck::PrimitiveType;
    }
    if (int64_t{baseVertexIndex} + minVertexIndex < 0) {
        return FrontCheck::NegativeVertex;
    }
    if (const auto failed = CheckStreams(state)) {
        return failed;
    }
    if (const auto failed = CheckIndices(state, startIndex, indexCount)) {
        return failed;
    }
    if (!TargetsAgree(state)) {
        return FrontCheck::TargetSizes;
    }
    return {};
}
