#include "Gfx/RecorderFixture.h"

#include <stdexcept>
#include <string>

void Check(HRESULT hr, const char* call)
{
    if (FAILED(hr)) {
        throw std::runtime_error(std::string(call) + " failed with " + std::to_string(hr));
    }
}

D3DPRESENT_PARAMETERS WindowedParameters(UINT width, UINT height)
{
    D3DPRESENT_PARAMETERS parameters;
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.Windowed = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

RecorderFixture::RecorderFixture() : direct3d(CreateRecorderDirect3D(recorder)) {}

RecorderFixture::~RecorderFixture()
{
    ReleaseDevice();
}

void RecorderFixture::ReleaseDevice()
{
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
}

void RecorderFixture::CreateDevice(D3DPRESENT_PARAMETERS parameters)
{
    Check(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                 &parameters, &device),
          "CreateDevice");
}

IDirect3DTexture9* RecorderFixture::MakeTexture(UINT width, UINT height, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                UINT levels)
{
    IDirect3DTexture9* texture = nullptr;
    Check(device->CreateTexture(width, height, levels, usage, format, pool, &texture, nullptr), "CreateTexture");
    return texture;
}

IDirect3DSurface9* RecorderFixture::MakeDepthSurface(UINT width, UINT height, D3DFORMAT format)
{
    IDirect3DSurface9* surface = nullptr;
    Check(device->CreateDepthStencilSurface(width, height, format, D3DMULTISAMPLE_NONE, 0, TRUE, &surface, nullptr),
          "CreateDepthStencilSurface");
    return surface;
}

IDirect3DVertexBuffer9* RecorderFixture::MakeVertexBuffer(UINT length, DWORD usage)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    Check(device->CreateVertexBuffer(length, usage, 0, D3DPOOL_DEFAULT, &buffer, nullptr), "CreateVertexBuffer");
    return buffer;
}

IDirect3DIndexBuffer9* RecorderFixture::MakeIndexBuffer(UINT length, D3DFORMAT format, DWORD usage)
{
    IDirect3DIndexBuffer9* buffer = nullptr;
    Check(device->CreateIndexBuffer(length, usage, format, D3DPOOL_DEFAULT, &buffer, nullptr), "CreateIndexBuffer");
    return buffer;
}

IDirect3DSurface9* RecorderFixture::Level0(IDirect3DTexture9* texture)
{
    IDirect3DSurface9* surface = nullptr;
    Check(texture->GetSurfaceLevel(0, &surface), "GetSurfaceLevel");
    return surface;
}
