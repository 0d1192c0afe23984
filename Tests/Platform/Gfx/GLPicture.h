// Pictures read back from a GL device, for the GL tests: single pixels, and PNG files left in the
// build folder for a person to look at.
#pragma once

#include "Platform/Gfx/D3D9Color.h"
#include "Platform/Gfx/GL/GLReadBack.h"

#include <string>

D3DCOLOR PixelAt(const GLImage& image, UINT x, UINT y);
// Returns the file's path.
std::string SavePng(const GLImage& image, const std::string& name);
