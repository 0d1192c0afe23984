// What the Recorder backend reports about its adapter: capabilities, display modes, which
// formats it offers for which resources and usages, and which multisample types. The defaults
// describe a capable shader model 3.0 card with a 1920 x 1080 desktop.
#pragma once

#include <vector>

#include "Platform/Gfx/GfxTypes.h"

// A format offered for one resource type with these usages (D3DUSAGE_* bits, the query bits
// included). CheckDeviceFormat succeeds when an entry of that type and format has every bit asked
// for; creation needs an entry with the resource's usage bits.
struct FormatSupport {
    D3DRESOURCETYPE type;
    D3DFORMAT format;
    DWORD usage;
};

D3DCAPS9 CapableShaderModel3Caps();
std::vector<D3DDISPLAYMODE> CommonDisplayModes();
std::vector<FormatSupport> CapableFormatSupport();

struct RecorderConfig {
    D3DCAPS9 caps = CapableShaderModel3Caps();
    // Enumerated in this order; fullscreen devices must use one of them.
    std::vector<D3DDISPLAYMODE> modes = CommonDisplayModes();
    D3DDISPLAYMODE desktopMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
    std::vector<FormatSupport> formats = CapableFormatSupport();
    // Besides D3DMULTISAMPLE_NONE, offered for every format of multiSampleFormats.
    std::vector<D3DMULTISAMPLE_TYPE> multiSampleTypes{D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_4_SAMPLES,
                                                      D3DMULTISAMPLE_8_SAMPLES};
    std::vector<D3DFORMAT> multiSampleFormats{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_D16, D3DFMT_D24S8};
    DWORD multiSampleQualityLevels = 1;
    // Rows and slices of images start at multiples of this many bytes, so that a test can make the
    // pitch differ from the row's width and catch code that ignores the pitch.
    UINT rowPitchAlignment = 1;
    // A lock with D3DLOCK_DISCARD fills the locked memory with 0xCD bytes: discarded contents are
    // undefined, and code that reads them back should show it.
    bool scrambleOnDiscard = true;
    // Off for long runs: only the counts of calls are kept, not the calls themselves.
    bool keepCalls = true;
};
