// A device for a benchmark, on either backend. The Recorder keeps only the counts of its calls (a
// run of millions of draws would otherwise keep millions of records), and its effects get the
// passive effect driver: no EffectDrawLog is made, whose snapshots would grow with every pass. GL
// renders on a hidden window of its own, under SDL's offscreen driver unless SDL_VIDEODRIVER says
// otherwise; one GL device lives at a time in a process, so a benchmark makes its device and lets
// it go before the next benchmark runs.
#pragma once

#include "Platform/Gfx/Direct3D9.h"

#include <stdexcept>

enum class BenchBackend { Recorder, GL };

// What a benchmark reports as its skip reason: this machine cannot run it.
class BenchUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class BenchDevice {
public:
    // An X8R8G8B8 back buffer of that size, presented immediately. Throws BenchUnavailable when no
    // window or GL context can be made here, std::runtime_error when creation fails otherwise.
    BenchDevice(BenchBackend backend, UINT width, UINT height, D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE);
    ~BenchDevice();
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    IDirect3DDevice9& Device() const { return *device; }

private:
    void Release();

    HWND window = nullptr;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
