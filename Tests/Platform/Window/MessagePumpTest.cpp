#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<MSG> received;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back(MSG{window, message, wParam, lParam});
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    if (message == WM_CLOSE)
        return DefWindowProc(window, message, wParam, lParam);
    return 0;
}

class MessagePumpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        WNDCLASSEX windowClass;
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.lpszClassName = "test_class";
        ASSERT_TRUE(RegisterClassEx(&windowClass));
    }
    static void TearDownTestSuite()
    {
        UnregisterClass("test_class", nullptr);
        SDL_Quit();
    }

    void SetUp() override
    {
        received.clear();
        window = CreateWindowEx(0, "test_class", "Quiet Lantern", WS_CAPTION, 0, 0, 320, 180, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        DrainQueue();
        received.clear();
    }
    void TearDown() override
    {
        DestroyWindow(window);
        DrainQueue();
    }

    void PushKey(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint8 repeat = 0)
    {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(SdlWindowOf(window));
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    void PushWindowEvent(Uint8 what)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(SdlWindowOf(window));
        event.window.event = what;
        SDL_PushEvent(&event);
    }

    // Dispatches every pending message; returns the messages taken, WM_QUIT included.
    std::vector<UINT> DrainQueue()
    {
        std::vector<UINT> taken;
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            taken.push_back(message.message);
            if (message.message == WM_QUIT)
                break;
            DispatchMessage(&message);
        }
        return taken;
    }

    HWND window = nullptr;
};

} // namespace

TEST_F(MessagePumpTest, KeysArriveAsVirtualKeyMessages)
{
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushKey(SDL_KEYDOWN, SDLK_a, KMOD_NONE, 1);
    PushKey(SDL_KEYUP, SDLK_a);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_7);
    PushKey(SDL_KEYDOWN, SDLK_F5);
    PushKey(SDL_KEYDOWN, SDLK_LCTRL);
    PushKey(SDL_KEYDOWN, SDLK_RCTRL);
    PushKey(SDL_KEYDOWN, SDLK_RSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_UP);
    DrainQueue();

    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const MSG& m : received)
        keys.emplace_back(m.message, m.wParam);
    EXPECT_EQ(keys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, 'A'},
                                                           {WM_KEYDOWN, 'A'},
                                                           {WM_KEYUP, 'A'},
                                                           {WM_KEYDOWN, 27},
                                                           {WM_KEYDOWN, '7'},
                                                           {WM_KEYDOWN, 116},
                                                           {WM_KEYDOWN, 162},
                                                           {WM_KEYDOWN, 163},
                                                           {WM_KEYDOWN, 16},
                                                           {WM_KEYDOWN, 38}}));
    EXPECT_NE(received[1].lParam & (LPARAM(1) << 30), 0) << "a repeat was down before";
    EXPECT_EQ(received[0].hwnd, window);
}

TEST_F(MessagePumpTest, AltKeysAreSystemKeysAndDoNotCloseTheWindow)
{
    PushKey(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_F4, KMOD_LALT);
    PushKey(SDL_KEYUP, SDLK_F4, KMOD_LALT);
    EXPECT_EQ(DrainQueue(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP}));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MessagePumpTest, CloseBoxDestroysTheWindowAndQuitComesLast)
{
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    PushKey(SDL_KEYDOWN, SDLK_b);
    EXPECT_EQ(DrainQueue(), (std::vector<UINT>{WM_CLOSE, WM_QUIT}))
        << "the key of the destroyed window is dropped and the quit request ends the queue";
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, UINT(WM_DESTROY));
}

TEST_F(MessagePumpTest, MinimiseAndRestoreSendSizeKinds)
{
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    DrainQueue();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, UINT(WM_SIZE));
    EXPECT_EQ(received[0].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(received[1].wParam, SIZE_RESTORED);
}

TEST_F(MessagePumpTest, MouseMessagesCarryButtonsAndPosition)
{
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(SdlWindowOf(window));
    motion.motion.x = 300;
    motion.motion.y = 170;
    motion.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
    SDL_PushEvent(&motion);
    DrainQueue();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(received[0].wParam, MK_LBUTTON | MK_MBUTTON);
    EXPECT_EQ(received[0].lParam, LPARAM(300 | 170 << 16));
}

TEST_F(MessagePumpTest, QuitRequestWaitsForPendingMessages)
{
    PostQuitMessage(0);
    PushKey(SDL_KEYDOWN, SDLK_c);
    EXPECT_EQ(DrainQueue(), (std::vector<UINT>{WM_KEYDOWN, WM_QUIT}));
    MSG message;
    EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) << "one request, one WM_QUIT";
}

TEST(WindowTest, UnknownClassAndDestroyedWindowsAreRefused)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_EQ(CreateWindowEx(0, "no_such_class", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_FALSE(DestroyWindow(nullptr));
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(ShowCursor(0), -1);
    EXPECT_EQ(ShowCursor(1), 0);
}
