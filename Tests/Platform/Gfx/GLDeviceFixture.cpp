#include "Platform/Gfx/GLDeviceFixture.h"
#include "Support/RequireGL.h"

#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

namespace {

constexpr const char* kWindowClass = "ql_gl_test";

LRESULT TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(window, message, wParam, lParam);
}

} // namespace

void GLDeviceFixture::TearDown()
{
    for (GLuint program : programs) {
        glDeleteProgram(program);
    }
    programs.clear();
    for (IDirect3DTexture9* texture : textures) {
        texture->Release();
    }
    textures.clear();
    if (device) {
        device->Release();
    }
    if (direct3d) {
        direct3d->Release();
    }
    if (window) {
        DestroyWindow(window);
    }
}

D3DPRESENT_PARAMETERS GLDeviceFixture::Parameters(UINT width, UINT height, D3DMULTISAMPLE_TYPE samples) const
{
    D3DPRESENT_PARAMETERS parameters;
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = samples;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

void GLDeviceFixture::CreateDevice(UINT width, UINT height, D3DMULTISAMPLE_TYPE samples)
{
    WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassEx(&windowClass); // already there after the first test
    window = CreateWindowEx(WS_EX_OPENGL, kWindowClass, "GL test", 0, 0, 0, static_cast<int>(width), static_cast<int>(height),
                            nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        QL_GL_UNAVAILABLE("no window can be opened here (set SDL_VIDEODRIVER=offscreen)");
    }
    direct3d = CreateGLDirect3D();
    D3DCAPS9 caps;
    if (direct3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps) == D3DERR_NOTAVAILABLE) {
        QL_GL_UNAVAILABLE("no OpenGL 3.3 core context with clip control can be created here");
    }
    D3DPRESENT_PARAMETERS parameters = Parameters(width, height, samples);
    ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                     &parameters, &device),
              D3D_OK);
}

IDirect3DSurface9* GLDeviceFixture::RenderTarget(UINT width, UINT height, D3DFORMAT format)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, &texture,
                                    nullptr),
              D3D_OK);
    if (!texture) {
        return nullptr;
    }
    textures.push_back(texture);
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    // The fixture's hold on the texture keeps its level alive.
    surface->Release();
    return surface;
}

void GLDeviceFixture::ClearRect(UINT x, UINT y, UINT width, UINT height, D3DCOLOR colour)
{
    D3DVIEWPORT9 viewport{x, y, width, height, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
}

GLuint GLDeviceFixture::BuildProgram(const char* vertexSource, const char* fragmentSource)
{
    const GLuint program = glCreateProgram();
    programs.push_back(program);
    for (const auto& [stage, source] : {std::pair{GL_VERTEX_SHADER, vertexSource}, {GL_FRAGMENT_SHADER, fragmentSource}}) {
        const GLuint shader = glCreateShader(stage);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        GLint compiled = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        EXPECT_EQ(compiled, GL_TRUE) << log;
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    return program;
}
