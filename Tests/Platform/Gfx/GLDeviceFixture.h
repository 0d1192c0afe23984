// A GL device on a hidden window of its own, for the GL tests, with read-back helpers (and
// GLPicture.h). Tests skip with a message where no GL 3.3 core context with clip control can be made.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/GL/GLEffectHook.h"
#include "Platform/Gfx/GL/GLReadBack.h"
#include "Platform/Gfx/GLPicture.h"

class GLDeviceFixture : public ::testing::Test {
protected:
    void TearDown() override;

    // Creates the device with an X8R8G8B8 back buffer; skips the test when GL is missing.
    void CreateDevice(UINT width, UINT height, D3DMULTISAMPLE_TYPE samples = D3DMULTISAMPLE_NONE);
    D3DPRESENT_PARAMETERS Parameters(UINT width, UINT height, D3DMULTISAMPLE_TYPE samples) const;

    // Render target texture level 0, held by the fixture.
    IDirect3DSurface9* RenderTarget(UINT width, UINT height, D3DFORMAT format = D3DFMT_A8R8G8B8);
    void ClearRect(UINT x, UINT y, UINT width, UINT height, D3DCOLOR colour);

    // A GLSL 3.30 program; fails the test with the compiler's log otherwise. Deleted at tear-down.
    GLuint BuildProgram(const char* vertexSource, const char* fragmentSource);

    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    HWND window = nullptr;
    std::vector<IDirect3DTexture9*> textures;
    std::vector<GLuint> programs;
};
