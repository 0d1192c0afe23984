// Adapter 0 as SDL and GL see it: display 0's modes, the GL implementation's limits (read once
// from a hidden window's context, so that capabilities answer before a device exists), and which
// formats, sample counts and sizes the backend offers.
#pragma once

#include <optional>
#include <vector>

#include "Platform/Gfx/GfxTypes.h"

struct GLLimits {
    UINT maxTextureSize = 0;
    UINT maxCubeMapSize = 0;
    UINT max3DTextureSize = 0;
    UINT maxDrawBuffers = 0;
    UINT maxVertexAttribs = 0;
    UINT maxTextureUnits = 0;
    UINT maxVertexUniformVectors = 0;
    UINT maxAnisotropy = 1;
    // The sample counts above 1 that colour and depth renderbuffers offer, ascending.
    std::vector<UINT> sampleCounts;
};

class GLAdapter {
public:
    GLAdapter();
    GLAdapter(const GLAdapter&) = delete;
    GLAdapter& operator=(const GLAdapter&) = delete;

    UINT ModeCount(D3DFORMAT format);
    HRESULT Mode(D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode);
    HRESULT DisplayMode(D3DDISPLAYMODE* mode);

    // Null when no GL 3.3 core context with clip control can be made here.
    const GLLimits* Limits();

    HRESULT CheckFormat(D3DFORMAT adapterFormat, DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format);
    HRESULT CheckMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD* qualityLevels);
    HRESULT Caps(D3DCAPS9* caps);

    // What creations check: the format offered for the use, the size within the limits, the
    // multisampling offered. GL sample count for a checked type and quality (0: none).
    bool Offers(D3DRESOURCETYPE type, D3DFORMAT format, DWORD usage);
    bool Fits(D3DRESOURCETYPE type, UINT width, UINT height, UINT depth);
    bool OffersMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE type, DWORD quality);
    int SamplesOf(D3DMULTISAMPLE_TYPE type, DWORD quality);

private:
    const std::vector<D3DDISPLAYMODE>& Modes();

    bool video_ = false;
    std::optional<std::vector<D3DDISPLAYMODE>> modes_;
    bool probed_ = false;
    std::optional<GLLimits> limits_;
};
