// The Win32 types, messages and codes the engine's window procedure speaks, so that the engine
// reads like the Windows program it stands in for.
#pragma once

#include <cstdint>

struct PlatformWindow;
using HWND = PlatformWindow*;
using HINSTANCE = void*;
using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using INT_PTR = intptr_t;
using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct RECT {
    long left = 0, top = 0, right = 0, bottom = 0;
};

// Messages.
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

// Dialog command ids (the low word of WM_COMMAND's wParam).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

// Mouse button bits of wParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key codes that are not their own character ('A'..'Z' and '0'..'9' are).
constexpr WPARAM VK_BACK = 8;
constexpr WPARAM VK_TAB = 9;
constexpr WPARAM VK_RETURN = 13;
constexpr WPARAM VK_SHIFT = 16;
constexpr WPARAM VK_CONTROL = 17;
constexpr WPARAM VK_MENU = 18;
constexpr WPARAM VK_PAUSE = 19;
constexpr WPARAM VK_ESCAPE = 27;
constexpr WPARAM VK_SPACE = 32;
constexpr WPARAM VK_PRIOR = 33;
constexpr WPARAM VK_NEXT = 34;
constexpr WPARAM VK_END = 35;
constexpr WPARAM VK_HOME = 36;
constexpr WPARAM VK_LEFT = 37;
constexpr WPARAM VK_UP = 38;
constexpr WPARAM VK_RIGHT = 39;
constexpr WPARAM VK_DOWN = 40;
constexpr WPARAM VK_INSERT = 45;
constexpr WPARAM VK_DELETE = 46;
constexpr WPARAM VK_F1 = 112; // F1..F12 are consecutive
constexpr WPARAM VK_F12 = 123;
constexpr WPARAM VK_ADD = 107;
constexpr WPARAM VK_SUBTRACT = 109;
constexpr WPARAM VK_LCONTROL = 162;
constexpr WPARAM VK_RCONTROL = 163;
constexpr WPARAM VK_OEM_COMMA = 0xBC;
constexpr WPARAM VK_OEM_PERIOD = 0xBE;
constexpr WPARAM VK_OEM_4 = 0xDB; // [ on a US keyboard
constexpr WPARAM VK_OEM_6 = 0xDD; // ]

// Window styles.
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000u;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000u;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000u;
constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100u;
// This layer's own kinds of window (bits Windows leaves unused): by default a window is a plain
// SDL window; a graphics device that draws into it through OpenGL needs WS_EX_OPENGL, and one that
// draws nowhere (the Recorder) takes WS_EX_HEADLESS, a window with no SDL window, no display and no
// GL behind it.
constexpr uint32_t WS_EX_OPENGL = 0x40000000u;
constexpr uint32_t WS_EX_HEADLESS = 0x20000000u;

// System metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;

// PeekMessage.
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// ShowWindow.
constexpr int SW_SHOW = 5;
