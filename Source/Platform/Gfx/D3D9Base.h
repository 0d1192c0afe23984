// The Windows scalar types the Direct3D-shaped interface speaks, beside the window layer's own
// (HWND, RECT, UINT, BOOL), so that device code reads like the Direct3D 9 code it stands in for.
#pragma once

#include <cstdint>

#include "Platform/Window/WinTypes.h"

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using INT = int;
using LONG = int32_t;
using ULONG = uint32_t;
using HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr UINT D3D_SDK_VERSION = 32;
constexpr UINT D3DADAPTER_DEFAULT = 0;
