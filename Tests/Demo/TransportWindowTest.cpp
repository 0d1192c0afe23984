// The maker's transport (--dev) through a real window's keys, on the show's own assembly over the
// build's archive (the Recorder device, SDL's offscreen video, the dummy audio driver): pause holds
// the clock and the music, a bar jump moves both 1.875 s, a step 1/60 s, a loop returns to its
// start, F12 asks for its file by the show time.
#include "Demo/BuiltShowFixture.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Timer/Timer.h"
#include "Framework/Transport/Overlay.h"
#include "Framework/Transport/Transport.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <fstream>
#include <thread>

class TransportWindowTest : public BuiltShowFixture {
protected:
    void SetUp() override
    {
        BuiltShowFixture::SetUp();
        recorder->Config().keepCalls = false;
        Open("320x180 --dev", RecorderDirect3DCreator(recorder));
        // The Recorder's window has no SDL window; keys come through one of the show's class.
        keyWindow = CreateWindowEx(0, DXFramework::WindowClassName, "keys", WS_CAPTION, 0, 0, 64, 64, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(keyWindow, nullptr);
        // As Run adds it in dev mode, the overlay drawn over every frame.
        ModuleHandler::Instance()->AddModule(std::make_unique<Overlay>());
        ModuleHandler::Instance()->GetModule(Overlay::ModuleName).Load();
        framework->musicEnabled = true;
        framework->StartShow();
        framework->saveFrame = [this](const std::string& file) {
            savedFile = file;
            std::ofstream(directory / file) << "frame";
        };
    }

    void TearDown() override
    {
        if (framework) {
            framework->ignoreNextDestroy = true;
            DestroyWindow(keyWindow);
        }
        BuiltShowFixture::TearDown();
    }

    void Push(Uint32 type, SDL_Keycode key)
    {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(SdlWindowOf(keyWindow));
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }

    void Pump()
    {
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessage(&message);
        }
    }

    // A tap of the key shorter than a frame (held with Shift if asked), then the frame.
    void Tap(SDL_Keycode key, bool shift = false)
    {
        if (shift)
            Push(SDL_KEYDOWN, SDLK_LSHIFT);
        Push(SDL_KEYDOWN, key);
        Push(SDL_KEYUP, key);
        Pump();
        framework->PlayFrame();
        if (shift) {
            Push(SDL_KEYUP, SDLK_LSHIFT);
            Pump();
        }
    }

    static double Music()
    {
        const HSTREAM stream = BASSPlayer::Instance()->Stream();
        return BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE));
    }

    static void Wait() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }

    HWND keyWindow = nullptr;
    std::string savedFile;
};

TEST_F(TransportWindowTest, TheKeysMoveTheClockAndTheMusicTogether)
{
    constexpr double Bar = 1.875, Step = 1.0 / 60.0, Sample = 1.0 / 44100.0;
    framework->PlayFrame();
    Tap(SDLK_SPACE);
    const Transport& transport = *framework->transport;
    ASSERT_TRUE(transport.Paused());
    const double held = Timer::GetElapsed();
    const double music = Music();
    Wait();
    framework->PlayFrame();
    EXPECT_EQ(Timer::GetElapsed(), held) << "pause holds the clock";
    EXPECT_EQ(Music(), music) << "and the music";

    Tap(SDLK_RIGHT);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), held + Bar);
    EXPECT_NEAR(Music(), held + Bar, 2 * Sample);
    Tap(SDLK_RIGHT, true);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), held + 5 * Bar) << "Shift jumps four bars";
    Tap(SDLK_LEFT);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), held + 4 * Bar);
    Tap(SDLK_PERIOD);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), held + 4 * Bar + Step) << "a step on";
    Tap(SDLK_COMMA);
    EXPECT_DOUBLE_EQ(Timer::GetElapsed(), held + 4 * Bar) << "a step back";
    Tap(SDLK_PAGEDOWN);
    EXPECT_EQ(Timer::GetElapsed(), 15.0) << "the next scene's start";
    Tap(SDLK_HOME);
    EXPECT_EQ(Timer::GetElapsed(), 0.0);

    Tap(SDLK_F12);
    EXPECT_EQ(savedFile, "show-0.png");
    EXPECT_TRUE(std::filesystem::exists(directory / savedFile));

    // A loop of one bar from 20 s, then playing on: at its end the clock and the music go back.
    Tap(SDLK_PAGEDOWN);
    Tap(SDLK_RIGHT);
    Tap(SDLK_RIGHT);
    Tap(SDLK_RIGHTBRACKET);
    const double loopStart = 15.0 + Bar, loopEnd = 15.0 + 2 * Bar;
    Tap(SDLK_LEFT);
    Tap(SDLK_LEFTBRACKET);
    ASSERT_TRUE(transport.ActiveLoop());
    EXPECT_DOUBLE_EQ(transport.ActiveLoop()->start, loopStart);
    EXPECT_DOUBLE_EQ(transport.ActiveLoop()->end, loopEnd);
    Tap(SDLK_SPACE);
    EXPECT_FALSE(transport.Paused());
    Wait();
    framework->PlayFrame();
    EXPECT_GT(Music(), loopStart) << "the music plays on with the clock";
    Timer::SetTime(loopEnd + 0.01, 0.0); // as if the bar had played
    framework->PlayFrame();
    EXPECT_NEAR(Timer::GetElapsed(), loopStart, 0.05) << "the loop's end returns to its start";
    EXPECT_NEAR(Music(), loopStart, 0.25) << "the music too, give or take what it buffered";
    Tap(SDLK_l);
    EXPECT_FALSE(transport.ActiveLoop()) << "L ends the loop";
    EXPECT_EQ(transport.OverlayLines().at(1), "TindrevikPart1") << "the overlay names the scene";
    Tap(SDLK_F1);
    EXPECT_FALSE(transport.OverlayShown()) << "F1 hides the overlay";
}
