// Windows over SDL2: window classes, creation and destruction, and the system services the shell
// uses (metrics, cursor, sleep). A window has an SDL window behind it (OpenGL-capable with
// WS_EX_OPENGL), or none at all with WS_EX_HEADLESS.
#pragma once

#include "Platform/Window/WinTypes.h"

struct SDL_Window;

struct WNDCLASSEX {
    UINT cbSize = sizeof(WNDCLASSEX);
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    const char* lpszClassName = nullptr;
};

// Registers the window procedure under the class name; false if the name is taken.
bool RegisterClassEx(const WNDCLASSEX* windowClass);
bool UnregisterClass(const char* className, HINSTANCE instance);

// A window of a registered class, client area width x height, or null when no display can be
// opened or the class is unknown. WS_POPUP makes a fullscreen window.
HWND CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style, int x, int y,
                    int width, int height, HWND parent, void* menu, HINSTANCE instance, void* param);
// Sends WM_DESTROY to the window procedure, then destroys the window.
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
HWND SetFocus(HWND window);
BOOL UpdateWindow(HWND window);
bool IsWindow(HWND window);

// The window frame belongs to the window manager, so the outer size is the client size.
BOOL AdjustWindowRectEx(RECT* rect, uint32_t style, BOOL menu, uint32_t exStyle);

int GetSystemMetrics(int index);
// Increments or decrements the display counter; the cursor shows while it is 0 or more.
int ShowCursor(BOOL show);
void Sleep(unsigned milliseconds);

// The SDL window behind a window, for the graphics backend; null for a headless window.
SDL_Window* SdlWindowOf(HWND window);
