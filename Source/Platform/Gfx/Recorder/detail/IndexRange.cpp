#include "Platform/Gfx/Recorder/detail/IndexRange.h"

#include <cstdint>
#include <cstring>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/detail/MemoryData.h"
#include "Platform/Gfx/detail/DrawChecks.h"

namespace {

uint32_t ReadIndex(const std::vector<BYTE>& bytes, D3DFORMAT format, UINT position)
{
    if (format == D3DFMT_INDEX32) {
        uint32_t index;
        std::memcpy(&index, bytes.data() + size_t{position} * 4, 4);
        return index;
    }
    uint16_t index;
    std::memcpy(&index, bytes.data() + size_t{position} * 2, 2);
    return index;
}

} // namespace

bool IndexedVerticesInside(const DeviceState& state, D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                           UINT numVertices, UINT startIndex, UINT primCount)
{
    const std::vector<BYTE>& indices = state.indices->Backend().As<BufferData>().bytes;
    const D3DFORMAT format = state.indices->Desc().Format;
    const UINT count = IndexCountFor(type, primCount);
    uint32_t highest = 0;
    for (UINT i = 0; i < count; ++i) {
        const uint32_t index = ReadIndex(indices, format, startIndex + i);
        if (index < minVertexIndex || uint64_t{index} >= uint64_t{minVertexIndex} + numVertices) {
            return false;
        }
        highest = index > highest ? index : highest;
    }
    const int64_t lastVertex = int64_t{baseVertexIndex} + highest;
    for (const D3DVERTEXELEMENT9& element : state.vertexDeclaration->Elements()) {
        const StreamSource& stream = state.streams[element.Stream];
        const uint64_t end = stream.offset + static_cast<uint64_t>(lastVertex) * stream.stride + element.Offset +
                             DeclTypeSize(element.Type);
        if (end > stream.buffer->Desc().Size) {
            return false;
        }
    }
    return true;
}
