#include "Platform/Window/MessagePump.h"

#include "Platform/Window/KeyCodes.h"
#include "Platform/Window/Window.h"
#include "Platform/Window/detail/PlatformWindow.h"

#include <SDL2/SDL.h>

#include <deque>

namespace {

std::deque<MSG> queue;
bool quitPosted = false;
int quitCode = 0;

WPARAM MouseButtons(Uint32 state)
{
    WPARAM buttons = 0;
    if (state & SDL_BUTTON_LMASK)
        buttons |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        buttons |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK)
        buttons |= MK_MBUTTON;
    return buttons;
}

LPARAM Point(int x, int y)
{
    return LPARAM((uint32_t(x) & 0xFFFF) | (uint32_t(y) & 0xFFFF) << 16);
}

UINT ButtonMessage(Uint8 button, bool down)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
    }
}

void Post(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && message)
        queue.push_back(MSG{window, message, wParam, lParam});
}

void Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const WPARAM key = VirtualKeyOf(event.key.keysym.sym);
        if (!key)
            return;
        // Keys pressed with Alt held, and Alt itself, are system keys.
        const bool system = (event.key.keysym.mod & KMOD_ALT) != 0 || key == VK_MENU;
        const bool down = event.type == SDL_KEYDOWN;
        const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        LPARAM lParam = 1 | LPARAM(event.key.keysym.scancode & 0xFF) << 16;
        if (event.key.repeat || !down)
            lParam |= LPARAM(1) << 30;
        if (!down)
            lParam |= LPARAM(1) << 31;
        Post(FindWindowBySdlId(event.key.windowID), message, key, lParam);
        return;
    }
    case SDL_MOUSEMOTION:
        Post(FindWindowBySdlId(event.motion.windowID), WM_MOUSEMOVE, MouseButtons(event.motion.state),
             Point(event.motion.x, event.motion.y));
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Post(FindWindowBySdlId(event.button.windowID), ButtonMessage(event.button.button, event.button.state),
             MouseButtons(SDL_GetMouseState(nullptr, nullptr)), Point(event.button.x, event.button.y));
        return;
    case SDL_WINDOWEVENT: {
        PlatformWindow* window = FindWindowBySdlId(event.window.windowID);
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Post(window, WM_CLOSE, 0, 0); return;
        case SDL_WINDOWEVENT_MINIMIZED: Post(window, WM_SIZE, SIZE_MINIMIZED, 0); return;
        case SDL_WINDOWEVENT_RESTORED: Post(window, WM_SIZE, SIZE_RESTORED, 0); return;
        default: return;
        }
    }
    case SDL_QUIT: // an interrupt from outside: close the windows the usual way
        for (PlatformWindow* window : AllWindows())
            Post(window, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

void PumpSdlEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event);
}

} // namespace

BOOL PeekMessage(MSG* message, HWND, UINT, UINT, UINT removeFlag)
{
    if (queue.empty())
        PumpSdlEvents();
    // Messages of windows destroyed since they were queued are dropped.
    while (!queue.empty() && queue.front().hwnd && !IsWindow(queue.front().hwnd))
        queue.pop_front();
    if (!queue.empty()) {
        *message = queue.front();
        if (removeFlag & PM_REMOVE)
            queue.pop_front();
        return 1;
    }
    if (quitPosted) {
        *message = MSG{nullptr, WM_QUIT, WPARAM(quitCode), 0};
        if (removeFlag & PM_REMOVE)
            quitPosted = false;
        return 1;
    }
    return 0;
}

BOOL TranslateMessage(const MSG*)
{
    return 0; // the show reads key codes only; no character messages are made
}

LRESULT DispatchMessage(const MSG* message)
{
    if (!message || !message->hwnd || !IsWindow(message->hwnd))
        return 0;
    return message->hwnd->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode)
{
    quitPosted = true;
    quitCode = exitCode;
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        DestroyWindow(window);
    return 0;
}

void PostMessageToQueue(const MSG& message)
{
    queue.push_back(message);
}
