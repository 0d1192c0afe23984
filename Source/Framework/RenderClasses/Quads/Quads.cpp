#include "Framework/RenderClasses/Quads/Quads.h"

#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/ReleaseAndClear.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr DWORD DynamicUsage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;
constexpr UINT PositionStride = sizeof(D3DXVECTOR3);
constexpr UINT NormalStride = sizeof(D3DXVECTOR3);
constexpr UINT ColourStride = sizeof(D3DCOLOR);
constexpr UINT TexCoordStride = sizeof(D3DXVECTOR2);

template <class Element, class Buffer>
HRESULT LockWhole(Buffer* buffer, Element** data)
{
    if (!data)
        return D3DERR_INVALIDCALL;
    return buffer->Lock(0, 0, reinterpret_cast<void**>(data), D3DLOCK_DISCARD);
}

} // namespace

Quads::Quads(const std::string& animationName, unsigned maxQuads, int ringSize)
    : BASERENDEROBJECT(animationName, 0), ringSize(ringSize), maxQuads(maxQuads)
{
    // Zero quads or a ring without buffers would leave nothing to create or draw from.
    if (maxQuads == 0 || ringSize < 1)
        throw FrameworkEx("[Quads::Quads] A batch needs at least one quad and one position buffer (" +
                          std::to_string(maxQuads) + " quads, ring of " + std::to_string(ringSize) + ")");
    if (maxQuads > UINT32_MAX / (IndicesPerQuad * sizeof(uint32_t)))
        throw FrameworkEx("[Quads::Quads] " + std::to_string(maxQuads) + " quads do not fit in one index buffer");
    try {
        CreateBuffers();
    } catch (...) {
        Release();
        throw;
    }
    WriteIndices();
    WriteColours();
    WriteTexCoords();
}

Quads::~Quads()
{
    Release();
}

void Quads::CreateBuffers()
{
    IDirect3DDevice9& device = *DXFramework::device;
    const UINT vertices = VerticesPerQuad * maxQuads;
    DEVICE_CREATION(device.CreateVertexDeclaration(QuadVertexLayout.data(), &vertexDeclaration));
    positionBuffers.assign(static_cast<size_t>(ringSize), nullptr);
    for (IDirect3DVertexBuffer9*& buffer : positionBuffers)
        DEVICE_CREATION(device.CreateVertexBuffer(vertices * PositionStride, DynamicUsage, 0, D3DPOOL_DEFAULT, &buffer,
                                                  nullptr));
    DEVICE_CREATION(device.CreateVertexBuffer(vertices * TexCoordStride, DynamicUsage, 0, D3DPOOL_DEFAULT,
                                              &texCoordBuffer, nullptr));
    DEVICE_CREATION(device.CreateVertexBuffer(vertices * NormalStride, DynamicUsage, 0, D3DPOOL_DEFAULT, &normalBuffer,
                                              nullptr));
    DEVICE_CREATION(device.CreateVertexBuffer(vertices * ColourStride, DynamicUsage, 0, D3DPOOL_DEFAULT, &colourBuffer,
                                              nullptr));
    DEVICE_CREATION(device.CreateIndexBuffer(IndicesPerQuad * maxQuads * sizeof(uint32_t), DynamicUsage,
                                             D3DFMT_INDEX32, D3DPOOL_DEFAULT, &indexBuffer, nullptr));
}

// The three fills below write what never changes; a buffer whose lock fails keeps the device's
// contents, and the draws still work.
void Quads::WriteIndices()
{
    uint32_t* indices = nullptr;
    if (FAILED(indexBuffer->Lock(0, IndicesPerQuad * maxQuads * sizeof(uint32_t), reinterpret_cast<void**>(&indices), 0)))
        return;
    for (uint32_t quad = 0; quad < maxQuads; ++quad)
        WriteQuadIndices(indices + IndicesPerQuad * quad, quad);
    indexBuffer->Unlock();
}

void Quads::WriteQuadIndices(uint32_t* out, uint32_t quad)
{
    const uint32_t first = VerticesPerQuad * quad;
    out[0] = first;
    out[1] = first + 1;
    out[2] = first + 2;
    out[3] = first;
    out[4] = first + 2;
    out[5] = first + 3;
}

void Quads::WriteColours()
{
    D3DCOLOR* colours = nullptr;
    if (FAILED(LockColours(&colours)))
        return;
    std::fill_n(colours, VerticesPerQuad * maxQuads, D3DCOLOR(0xFFFFFFFFu));
    UnlockColours();
}

void Quads::WriteTexCoords()
{
    static constexpr D3DXVECTOR2 Corners[VerticesPerQuad] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    D3DXVECTOR2* texCoords = nullptr;
    if (FAILED(LockTexCoords(&texCoords)))
        return;
    for (uint32_t quad = 0; quad < maxQuads; ++quad)
        std::copy(std::begin(Corners), std::end(Corners), texCoords + VerticesPerQuad * quad);
    UnlockTexCoords();
}

void Quads::Release()
{
    ReleaseAndClear(vertexDeclaration);
    for (IDirect3DVertexBuffer9*& buffer : positionBuffers)
        ReleaseAndClear(buffer);
    positionBuffers.clear();
    ReleaseAndClear(normalBuffer);
    ReleaseAndClear(texCoordBuffer);
    ReleaseAndClear(colourBuffer);
    ReleaseAndClear(indexBuffer);
}

void Quads::Draw()
{
    if (activeQuads == 0)
        return;
    // More quads than the buffers hold would read past their ends.
    if (activeQuads > maxQuads)
        throw FrameworkEx("[Quads::Draw] " + std::to_string(activeQuads) + " active quads in a batch of " +
                          std::to_string(maxQuads));
    IDirect3DDevice9& device = *DXFramework::device;
    DEVICE_CALL(device.SetVertexDeclaration(vertexDeclaration));
    DEVICE_CALL(device.SetStreamSource(0, positionBuffers[current], 0, PositionStride));
    DEVICE_CALL(device.SetStreamSource(1, normalBuffer, 0, NormalStride));
    DEVICE_CALL(device.SetStreamSource(2, colourBuffer, 0, ColourStride));
    DEVICE_CALL(device.SetStreamSource(3, texCoordBuffer, 0, TexCoordStride));
    DEVICE_CALL(device.SetStreamSource(4, positionBuffers[PreviousIndex()], 0, PositionStride));
    DEVICE_CALL(device.SetIndices(indexBuffer));
    DEVICE_CALL(device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, VerticesPerQuad * activeQuads, 0,
                                            2 * activeQuads));
}

HRESULT Quads::LockPositions(D3DXVECTOR3** positions)
{
    return LockWhole(positionBuffers[current], positions);
}

HRESULT Quads::UnlockPositions()
{
    return positionBuffers[current]->Unlock();
}

HRESULT Quads::LockNormals(D3DXVECTOR3** normals)
{
    return LockWhole(normalBuffer, normals);
}

HRESULT Quads::UnlockNormals()
{
    return normalBuffer->Unlock();
}

HRESULT Quads::LockColours(D3DCOLOR** colours)
{
    return LockWhole(colourBuffer, colours);
}

HRESULT Quads::UnlockColours()
{
    return colourBuffer->Unlock();
}

HRESULT Quads::LockTexCoords(D3DXVECTOR2** texCoords)
{
    return LockWhole(texCoordBuffer, texCoords);
}

HRESULT Quads::UnlockTexCoords()
{
    return texCoordBuffer->Unlock();
}

HRESULT Quads::LockIndices(uint32_t** indices)
{
    return LockWhole(indexBuffer, indices);
}

HRESULT Quads::UnlockIndices()
{
    return indexBuffer->Unlock();
}
