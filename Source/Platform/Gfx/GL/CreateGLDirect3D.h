// The GL backend's creation entry point: a Direct3D object that renders with OpenGL 3.3 core on
// the device window. Returns one with one reference, like Direct3DCreate9. One GL device lives at
// a time in a process: each device's context is made current when it is created.
#pragma once

#include "Platform/Gfx/IDirect3D9.h"

IDirect3D9* CreateGLDirect3D();

// For code that takes a Direct3DCreator: every call makes a new Direct3D object.
Direct3DCreator GLDirect3DCreator();
