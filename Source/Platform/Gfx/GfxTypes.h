// Every type, format, flag, record and result code of the Direct3D-shaped interface.
#pragma once

#include <string> // an effect driver's messages (CreateEffectDriver)

#include "Platform/Gfx/D3D9Base.h"
#include "Platform/Gfx/D3D9Caps.h"
#include "Platform/Gfx/D3D9Color.h"
#include "Platform/Gfx/D3D9Enums.h"
#include "Platform/Gfx/D3D9Formats.h"
#include "Platform/Gfx/D3D9Structs.h"
#include "Platform/Gfx/FrontCheck.h"
#include "Platform/Gfx/GfxForward.h"
#include "Platform/Gfx/Result.h"
#include "Platform/Gfx/VertexElements.h"
