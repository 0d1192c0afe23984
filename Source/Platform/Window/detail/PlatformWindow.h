// What stands behind an HWND.
#pragma once

#include "Platform/Window/WinTypes.h"

#include <vector>

struct SDL_Window;

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
    WNDPROC procedure = nullptr;
    uint32_t sdlId = 0;
};

// The window with that SDL window id, or null.
PlatformWindow* FindWindowBySdlId(uint32_t id);

std::vector<PlatformWindow*> AllWindows();

// Starts SDL's video subsystem once; false when no display can be opened.
bool EnsureVideo();
