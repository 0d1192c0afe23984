// The Recorder backend's creation entry point: a Direct3D object whose calls the Recorder records
// and whose resources it keeps in memory. Returns one with one reference, like Direct3DCreate9.
#pragma once

#include <memory>

#include "Platform/Gfx/IDirect3D9.h"
#include "Platform/Gfx/Recorder/Recorder.h"

IDirect3D9* CreateRecorderDirect3D(std::shared_ptr<Recorder> recorder);

// For code that takes a Direct3DCreator: every call makes a new Direct3D object on the same
// Recorder.
Direct3DCreator RecorderDirect3DCreator(std::shared_ptr<Recorder> recorder);
