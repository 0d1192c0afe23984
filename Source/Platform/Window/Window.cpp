#include "Platform/Window/Window.h"

#include "Platform/Window/detail/PlatformWindow.h"

#include <SDL2/SDL.h>

#include <map>
#include <memory>
#include <string>
#include <thread>

namespace {

std::map<std::string, WNDPROC>& Classes()
{
    static std::map<std::string, WNDPROC> classes;
    return classes;
}

std::map<uint32_t, std::unique_ptr<PlatformWindow>>& Windows()
{
    static std::map<uint32_t, std::unique_ptr<PlatformWindow>> windows;
    return windows;
}

int cursorCount = 0;

// A hidden window of the same kind as every window here, made when first needed and kept for the
// rest of the process.
SDL_Window* StandInWindow()
{
    static SDL_Window* const standIn =
        SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    return standIn;
}

// A graphics device may outlive its window (at shutdown the framework destroys the window first,
// and what still holds device objects lets go of them afterwards): a GL context current on the
// window moves to the stand-in, so that releasing those objects still finds it current.
void KeepGLContextCurrent(SDL_Window* going)
{
    SDL_GLContext context = SDL_GL_GetCurrentContext();
    if (context && SDL_GL_GetCurrentWindow() == going)
        if (SDL_Window* standIn = StandInWindow())
            SDL_GL_MakeCurrent(standIn, context);
}

} // namespace

bool EnsureVideo()
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

PlatformWindow* FindWindowBySdlId(uint32_t id)
{
    auto found = Windows().find(id);
    return found == Windows().end() ? nullptr : found->second.get();
}

std::vector<PlatformWindow*> AllWindows()
{
    std::vector<PlatformWindow*> all;
    for (const auto& [id, window] : Windows())
        all.push_back(window.get());
    return all;
}

bool RegisterClassEx(const WNDCLASSEX* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc)
        return false;
    return Classes().emplace(windowClass->lpszClassName, windowClass->lpfnWndProc).second;
}

bool UnregisterClass(const char* className, HINSTANCE)
{
    return className && Classes().erase(className) == 1;
}

HWND CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style, int x, int y,
                    int width, int height, HWND, void*, HINSTANCE, void*)
{
    auto windowClass = className ? Classes().find(className) : Classes().end();
    if (windowClass == Classes().end() || width <= 0 || height <= 0)
        return nullptr;

    auto window = std::make_unique<PlatformWindow>();
    window->procedure = windowClass->second;
    if (exStyle & WS_EX_HEADLESS) {
        // Numbered apart from SDL's window ids, which count up from 1.
        static uint32_t nextHeadlessId = 0x80000000u;
        window->sdlId = nextHeadlessId++;
    } else {
        if (!EnsureVideo())
            return nullptr;
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (exStyle & WS_EX_OPENGL)
            flags |= SDL_WINDOW_OPENGL;
        if (style & WS_POPUP)
            flags |= SDL_WINDOW_FULLSCREEN;
        window->sdl = SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
        if (!window->sdl)
            return nullptr;
        window->sdlId = SDL_GetWindowID(window->sdl);
    }
    HWND handle = window.get();
    Windows().emplace(window->sdlId, std::move(window));
    return handle;
}

BOOL DestroyWindow(HWND window)
{
    if (!IsWindow(window))
        return 0;
    window->procedure(window, WM_DESTROY, 0, 0);
    if (window->sdl) {
        KeepGLContextCurrent(window->sdl);
        SDL_DestroyWindow(window->sdl);
    }
    Windows().erase(window->sdlId);
    return 1;
}

bool IsWindow(HWND window)
{
    for (const auto& [id, candidate] : Windows())
        if (candidate.get() == window)
            return true;
    return false;
}

BOOL ShowWindow(HWND window, int)
{
    if (!IsWindow(window))
        return 0;
    if (window->sdl)
        SDL_ShowWindow(window->sdl);
    return 1;
}

HWND SetFocus(HWND window)
{
    if (IsWindow(window) && window->sdl)
        SDL_RaiseWindow(window->sdl);
    return window;
}

BOOL UpdateWindow(HWND window)
{
    return IsWindow(window) ? 1 : 0;
}

BOOL AdjustWindowRectEx(RECT* rect, uint32_t, BOOL, uint32_t)
{
    return rect ? 1 : 0;
}

int GetSystemMetrics(int index)
{
    if (!EnsureVideo())
        return 0;
    SDL_DisplayMode mode;
    SDL_Rect usable;
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN:
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
            return 0;
        return index == SM_CXSCREEN ? mode.w : mode.h;
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN:
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
            return 0;
        return index == SM_CXFULLSCREEN ? usable.w : usable.h;
    default:
        return 0;
    }
}

int ShowCursor(BOOL show)
{
    cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

void Sleep(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SDL_Window* SdlWindowOf(HWND window)
{
    return IsWindow(window) ? window->sdl : nullptr;
}
