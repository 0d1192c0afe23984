// Checks of present parameters, shared by CreateDevice and Reset.
#pragma once

#include <optional>

#include "Platform/Gfx/GfxTypes.h"

// FrontCheck::PresentParameters for values Direct3D refuses, FrontCheck::PresentNotOffered for
// what this layer does not offer (an automatic depth-stencil surface, a lockable back buffer, a
// size left to the window). When they pass, fills in what Direct3D fills in: a back buffer count
// of 0 becomes 1 and a windowed D3DFMT_UNKNOWN back buffer format becomes D3DFMT_X8R8G8B8.
std::optional<FrontCheck> CheckPresentParameters(D3DPRESENT_PARAMETERS& parameters);

// The back buffer that the parameters describe.
D3DSURFACE_DESC BackBufferDesc(const D3DPRESENT_PARAMETERS& parameters);
