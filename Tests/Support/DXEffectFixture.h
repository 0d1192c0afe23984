// The framework on the Recorder with its device and device resources (so the effect pool and the
// Global effect exist), an archive holding the effects and images a test names, a log of what
// each draw saw through an effect, and a triangle to draw.
#pragma once

#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Platform/Gfx/Recorder/EffectDrawLog.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>


class DXEffectFixture : public ShowFixture {
protected:
    // Writes the archive (the show's minimum, each part replaced by an entry of its name, and the
    // entries) and runs the framework up to its device resources.
    void Start(const ArchiveEntries& entries = {});
    void TearDown() override;

    // One triangle, drawn inside a scene; returns the draw's number among the Recorder's draws.
    size_t DrawTriangle();
    // The effect's parameter values, read back.
    static D3DXMATRIX Matrix(DXEffect& effect, const char* parameter);
    static std::vector<float> Floats(DXEffect& effect, const char* parameter, UINT count);
    // A vertex or index buffer's contents as values of T.
    template <class T, class Buffer>
    std::vector<T> BufferValues(const Buffer& buffer) const
    {
        const std::vector<BYTE> bytes = recorder->BufferBytes(buffer);
        std::vector<T> values(bytes.size() / sizeof(T));
        std::memcpy(values.data(), bytes.data(), values.size() * sizeof(T));
        return values;
    }

    EffectDrawLog draws{recorder};
    std::unique_ptr<DXFramework> framework;

private:
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};
