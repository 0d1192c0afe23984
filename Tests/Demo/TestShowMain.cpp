// The player in everything but the show's assembly: the same entry point, framework and platform,
// with one test scene in place of the show's. The scene clears its picture to a colour that moves
// with the clock and reports what the run looked like on standard output. With
// QL_TEST_ESCAPE_AFTER=N it presses Escape after N frames, as a user would.
#include "Framework/DXFramework.h"
#include "Framework/EntryPoint.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Window/Window.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

class ClearingScene : public Scene {
public:
    ClearingScene() : Scene("Test")
    {
        if (const char* after = std::getenv("QL_TEST_ESCAPE_AFTER"))
            escapeAfter = std::atoi(after);
    }
    ~ClearingScene() override { std::printf("frames: %d\nlast time: %.3f\n", frames, lastTime); }

    // Without a camera there are no frame constants to write.
    void SetFrameConstants() override {}

    void Render() override
    {
        DXFramework& framework = *DXFramework::Instance();
        if (frames++ == 0)
            std::printf("window title: %s\n", SDL_GetWindowTitle(SdlWindowOf(framework.window)));
        lastTime = Timer::GetElapsed();
        framework.SetLetterboxViewport();
        const auto shade = static_cast<unsigned>(lastTime * 40.0) & 0xFF;
        DXFramework::device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(shade, 96, 255 - shade), 1.0f, 0);
        if (frames == escapeAfter)
            PressEscape(framework.window);
    }

private:
    static void PressEscape(HWND window)
    {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(SdlWindowOf(window));
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = SDLK_ESCAPE;
        SDL_PushEvent(&event);
    }

    int frames = 0;
    int escapeAfter = -1;
    double lastTime = 0.0;
};

} // namespace

int main(int argc, char** argv)
{
    const int result = RunShow(
        nullptr, CommandLineOf(argc, argv), ShowTitle,
        [](DXFramework&) { SceneHandler::Instance()->AddScene(std::make_unique<ClearingScene>()); },
        GLDirect3DCreator());
    std::fflush(stdout);
    return result;
}
