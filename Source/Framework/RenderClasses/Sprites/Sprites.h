// Quads that face the viewer: every corner of a sprite holds the sprite's centre as its position
// and its offset from the centre, in the sprite's own plane, in the normal stream; the vertex
// shader expands the corners around the centre.
#pragma once

#include "Framework/RenderClasses/Quads/Quads.h"

class Sprites : public Quads {
public:
    Sprites(const std::string& animationName, unsigned spriteCount, int ringSize);

    // Corner offsets (-h, h), (h, h), (h, -h), (-h, -h) for every sprite.
    void SetUniformSize(float h);
    // sizes[i] = (w, h) gives sprite i the corners (-w, h), (w, h), (w, -h), (-w, -h); sizes holds
    // spriteCount pairs.
    void SetSizes(const D3DXVECTOR2* sizes);
    // Draws the first count sprites, centred on centres[0 .. count-1], from the ring's current
    // buffer (the caller advances the ring first). E_FAIL, changing nothing, for more sprites than
    // the batch holds; a failed lock is returned as it came.
    HRESULT SetCentres(const D3DXVECTOR3* centres, unsigned count);

    unsigned spriteCount;

private:
    // The corner offsets of sprite i, half-width w and half-height h, into the locked normals.
    static void WriteCorners(D3DXVECTOR3* normals, unsigned sprite, float w, float h);
    // Locks the normal buffer under the device call rule; null when a lost device was recovered
    // instead (the new buffers are written on the next call).
    D3DXVECTOR3* LockNormalsChecked(DWORD flags);
};
