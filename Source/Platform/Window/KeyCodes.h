// SDL key symbols to Windows virtual-key codes.
#pragma once

#include "Platform/Window/WinTypes.h"

// 0 for keys the show has no code for. Left and right Control arrive as VK_LCONTROL and
// VK_RCONTROL, so that live tweaking can tell them from other keys.
WPARAM VirtualKeyOf(int sdlKeycode);
