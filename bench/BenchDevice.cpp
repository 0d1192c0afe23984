#include "BenchDevice.h"

#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/Recorder/CreateRecorderDirect3D.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr const char* WindowClass = "ql_bench";

LRESULT BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(window, message, wParam, lParam);
}

HWND OpenWindow(UINT width, UINT height)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.lpszClassName = WindowClass;
    RegisterClassEx(&windowClass); // false once an earlier benchmark registered it
    HWND window = CreateWindowEx(WS_EX_OPENGL, WindowClass, "bench", 0, 0, 0, static_cast<int>(width), static_cast<int>(height),
                                 nullptr, nullptr, nullptr, nullptr);
    if (!window)
        throw BenchUnavailable("no window can be opened here");
    return window;
}

IDirect3D9* MakeDirect3D(BenchBackend backend)
{
    if (backend == BenchBackend::GL)
        return CreateGLDirect3D();
    auto recorder = std::make_shared<Recorder>();
    recorder->Config().keepCalls = false;
    return CreateRecorderDirect3D(recorder);
}

} // namespace

BenchDevice::BenchDevice(BenchBackend backend, UINT width, UINT height, D3DMULTISAMPLE_TYPE samples)
{
    try {
        // The Recorder draws nowhere, so it needs no window.
        if (backend == BenchBackend::GL)
            window = OpenWindow(width, height);
        direct3d = MakeDirect3D(backend);
        D3DPRESENT_PARAMETERS parameters;
        parameters.BackBufferWidth = width;
        parameters.BackBufferHeight = height;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.BackBufferCount = 1;
        parameters.MultiSampleType = samples;
        parameters.hDeviceWindow = window;
        parameters.Windowed = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        const HRESULT result = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device);
        if (result == D3DERR_NOTAVAILABLE && backend == BenchBackend::GL)
            throw BenchUnavailable("no OpenGL 3.3 core context with clip control can be created here");
        if (FAILED(result))
            throw std::runtime_error("CreateDevice failed with " + std::to_string(result));
    } catch (...) {
        Release();
        throw;
    }
}

BenchDevice::~BenchDevice()
{
    Release();
}

void BenchDevice::Release()
{
    if (device)
        device->Release();
    if (direct3d)
        direct3d->Release();
    if (window)
        DestroyWindow(window);
    device = nullptr;
    direct3d = nullptr;
    window = nullptr;
}
