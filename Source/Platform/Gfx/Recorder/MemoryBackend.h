// The storing half of the Recorder: a backend that keeps every surface, volume and buffer as
// bytes of the right size for its format, so that locks hand out real memory, clears fill it and
// StretchRect copies pixels (converting formats, point or linear filtering). It reports the
// adapter the Recorder's configuration describes and refuses what that adapter lacks. Draws
// rasterise nothing; they are checked against the index and vertex data.
#pragma once

#include <memory>

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Window/WinTypes.h"

class Recorder;
struct RecorderConfig;

class MemoryBackend final : public GfxBackend {
public:
    explicit MemoryBackend(std::shared_ptr<Recorder> recorder);

    uint32_t WindowStyle() const override { return WS_EX_HEADLESS; }

#define OP(result, name, params, args) result name params override;
#include "Platform/Gfx/GfxOps.inc"
#undef OP

private:
    const RecorderConfig& Config() const;
    bool Offers(D3DRESOURCETYPE type, D3DFORMAT format, DWORD usage) const;
    bool OffersMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD quality) const;
    bool FitsCaps(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth) const;
    HRESULT CheckBackBuffer(const D3DPRESENT_PARAMETERS& parameters) const;
    // Gives a surface its bytes; a standalone one is also listed among the live objects.
    void Store(IDirect3DSurface9& surface, bool listed);

    std::shared_ptr<Recorder> recorder_;
    // The device this backend serves, from the last CreateDevice; read only by its own calls.
    IDirect3DDevice9* device_ = nullptr;
};
