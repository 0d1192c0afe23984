// The message queue: SDL events become the Windows messages the window procedure handles.
#pragma once

#include "Platform/Window/WinTypes.h"

// Takes the next message without waiting; false when none is pending. WM_QUIT comes only when
// nothing else is pending, as on Windows.
BOOL PeekMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag);
BOOL TranslateMessage(const MSG* message);
// Calls the window procedure of the message's window.
LRESULT DispatchMessage(const MSG* message);
void PostQuitMessage(int exitCode);
// Closing a window destroys it; everything else is ignored.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Delivers a message to the back of the queue (as if the system had sent it).
void PostMessageToQueue(const MSG& message);
