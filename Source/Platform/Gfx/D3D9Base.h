// The Windows scalar types the Direct3D-shaped interface speaks, beside the window layer's own
// (HWND, RECT, UINT, BOOL, BYTE, WORD, DWORD), so that device code reads like the Direct3D 9 code
// it stands in for.
#pragma once

#include <cstdint>

#include "Platform/Window/WinTypes.h"

using INT = int;
using LONG = int32_t;
using ULONG = uint32_t;
using HANDLE = void*;

constexpr UINT D3D_SDK_VERSION = 32;
constexpr UINT D3DADAPTER_DEFAULT = 0;
