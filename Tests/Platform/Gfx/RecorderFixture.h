// A Recorder with its Direct3D object and a windowed 800 x 600 device, for tests of the graphics
// interface. The helpers throw when the device refuses, so a test stops at the first surprise.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height);

class RecorderFixture : public ::testing::Test {
protected:
    RecorderFixture();
    ~RecorderFixture() override;

    void CreateDevice(D3DPRESENT_PARAMETERS parameters = WindowedParameters(800, 600));

    IDirect3DTexture9* MakeTexture(UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                   UINT levels = 1);
    IDirect3DSurface9* MakeDepthSurface(UINT width, UINT height, D3DFORMAT format = D3DFMT_D24S8);
    IDirect3DVertexBuffer9* MakeVertexBuffer(UINT length, DWORD usage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY);
    IDirect3DIndexBuffer9* MakeIndexBuffer(UINT length, D3DFORMAT format = D3DFMT_INDEX32,
                                           DWORD usage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY);
    // Level 0 of the texture, with a reference the caller releases.
    static IDirect3DSurface9* Level0(IDirect3DTexture9* texture);
    // Releases the device and the Direct3D object, as a framework's shutdown does.
    void ReleaseDevice();

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

template <class... Objects>
void ReleaseAll(Objects*... objects)
{
    (objects->Release(), ...);
}

// Throws std::runtime_error naming the call when hr is a failure.
void Check(HRESULT hr, const char* call);
