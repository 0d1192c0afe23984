// The empty frame loop of the player on the GL backend (BeginScene, the letterbox clears,
// EndScene, Present) against a raw SDL2 + GL loop doing the same work the same way: three
// scissored clears into a framebuffer of our own, its resolve, the flipped blit into the window
// and the swap. Both at 800 x 450 under SDL's offscreen driver unless SDL_VIDEODRIVER says
// otherwise; both skip with a message where no GL 3.3 core context can be made.
#include <benchmark/benchmark.h>

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>

#include "BenchDevice.h"
#include "BenchRun.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 450;
// A 2.37:1 picture inside the 16:9 back buffer, so that both bars are cleared every frame.
constexpr int kPictureHeight = 338;
constexpr int kBar = (kHeight - kPictureHeight) / 2;

struct Band {
    int y;
    int height;
    float red;
};

constexpr Band kBands[] = {
    {kBar, kPictureHeight, 0.4f}, {0, kBar, 0.0f}, {kBar + kPictureHeight, kHeight - kBar - kPictureHeight, 0.0f}};

void UseOffscreenDriver()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
}

void BackendFrameLoop(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const BenchDevice bench(BenchBackend::GL, kWidth, kHeight, static_cast<D3DMULTISAMPLE_TYPE>(state.range(0)));
        IDirect3DDevice9& device = bench.Device();
        for (auto _ : state) {
            device.BeginScene();
            for (const Band& band : kBands) {
                const D3DVIEWPORT9 viewport{0, static_cast<DWORD>(band.y), kWidth, static_cast<DWORD>(band.height),
                                            0.0f, 1.0f};
                device.SetViewport(&viewport);
                device.Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_COLORVALUE(band.red, 0.0f, 0.0f, 1.0f), 1.0f, 0);
            }
            device.EndScene();
            if (FAILED(device.Present(nullptr, nullptr, nullptr, nullptr))) {
                state.SkipWithError("Present failed");
                break;
            }
        }
    });
}

void RawFrameLoop(benchmark::State& state)
{
    UseOffscreenDriver();
    const int samples = static_cast<int>(state.range(0));
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError("SDL has no video here");
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    // The window's framebuffer only receives the finished picture, as the backend asks for it.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_Window* window = SDL_CreateWindow("raw", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    SDL_GL_ResetAttributes();
    if (!context) {
        state.SkipWithError("no OpenGL 3.3 core context can be created here");
    } else {
        SDL_GL_SetSwapInterval(0);
        GLuint framebuffers[2];
        GLuint renderbuffers[2];
        glGenFramebuffers(2, framebuffers);
        glGenRenderbuffers(2, renderbuffers);
        for (int i = 0; i < 2; ++i) {
            glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[i]);
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, i == 0 ? samples : 0, GL_RGBA8, kWidth, kHeight);
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers[i]);
        }
        for (auto _ : state) {
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[0]);
            glEnable(GL_SCISSOR_TEST);
            for (const Band& band : kBands) {
                glScissor(0, band.y, kWidth, band.height);
                const GLfloat colour[] = {band.red, 0.0f, 0.0f, 1.0f};
                glClearBufferfv(GL_COLOR, 0, colour);
            }
            glDisable(GL_SCISSOR_TEST);
            GLuint shown = framebuffers[0];
            if (samples > 0) {
                glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[0]);
                glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[1]);
                glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
                shown = framebuffers[1];
            }
            glBindFramebuffer(GL_READ_FRAMEBUFFER, shown);
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
            glBlitFramebuffer(0, 0, kWidth, kHeight, 0, kHeight, kWidth, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
            SDL_GL_SwapWindow(window);
        }
        glDeleteFramebuffers(2, framebuffers);
        glDeleteRenderbuffers(2, renderbuffers);
        SDL_GL_DeleteContext(context);
    }
    if (window) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace

BENCHMARK(BackendFrameLoop)->Name("GLFrameLoop/backend")->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RawFrameLoop)->Name("GLFrameLoop/raw")->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
