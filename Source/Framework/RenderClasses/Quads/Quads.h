// A fixed-capacity batch of quads in dynamic vertex buffers, drawn with one indexed draw. Positions
// live in a ring of buffers: the module writes this frame's positions into the current one while
// the previous one still holds last frame's, which the shaders read as POSITION1 for per-vertex
// motion. Corners 4q .. 4q+3 belong to quad q in every buffer.
#pragma once

#include "Framework/RenderClasses/BASERENDEROBJECT.h"
#include "Platform/Gfx/Direct3D9.h"

#include <array>
#include <cstdint>
#include <vector>

// One element per stream, each at offset 0.
constexpr std::array<D3DVERTEXELEMENT9, 6> QuadVertexLayout = {{
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {1, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {2, 0, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {3, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {4, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 1},
    D3DDECL_END(),
}};

class Quads : public BASERENDEROBJECT {
public:
    static constexpr UINT VerticesPerQuad = 4;
    static constexpr UINT IndicesPerQuad = 6;

    // Creates every buffer at once: indices of two triangles per quad, opaque white colours and the
    // corner texture coordinates (0,0) (1,0) (1,1) (0,1); positions and normals are the module's.
    // Throws FrameworkEx when the device refuses a creation.
    Quads(const std::string& animationName, unsigned maxQuads, int ringSize);
    ~Quads() override;

    // The first activeQuads quads in one draw; nothing at all when there are none.
    void Draw() override;

    // Each buffer locked whole with D3DLOCK_DISCARD (4 * maxQuads vertices, 6 * maxQuads indices)
    // and unlocked. The position lock is on the ring's current buffer.
    HRESULT LockPositions(D3DXVECTOR3** positions);
    HRESULT UnlockPositions();
    HRESULT LockNormals(D3DXVECTOR3** normals);
    HRESULT UnlockNormals();
    HRESULT LockColours(D3DCOLOR** colours);
    HRESULT UnlockColours();
    HRESULT LockTexCoords(D3DXVECTOR2** texCoords);
    HRESULT UnlockTexCoords();
    HRESULT LockIndices(uint32_t** indices);
    HRESULT UnlockIndices();

    // Moves current on to the next buffer of the ring, before this frame's positions are written,
    // so that the buffer left behind keeps last frame's.
    void AdvanceRing() { current = (current + 1) % ringSize; }
    // The six indices of quad's two triangles (corners 0-1-2 and 0-2-3) at out; drawing quads in
    // another order is writing them at other places.
    static void WriteQuadIndices(uint32_t* out, uint32_t quad);

    // The ring's buffer before the current one: the source of POSITION1.
    int PreviousIndex() const { return (ringSize + current - 1) % ringSize; }

    int ringSize;
    int current = 0;
    IDirect3DVertexBuffer9* normalBuffer = nullptr;
    IDirect3DVertexBuffer9* texCoordBuffer = nullptr;
    std::vector<IDirect3DVertexBuffer9*> positionBuffers;
    IDirect3DVertexBuffer9* colourBuffer = nullptr;
    IDirect3DVertexDeclaration9* vertexDeclaration = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    unsigned maxQuads;
    unsigned activeQuads = 0;

private:
    void CreateBuffers();
    void WriteIndices();
    void WriteColours();
    void WriteTexCoords();
    void Release();
};
