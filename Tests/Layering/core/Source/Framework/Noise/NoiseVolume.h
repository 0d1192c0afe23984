// A core header that includes only platform maths: allowed.
#pragma once
#include "Platform/D3DX/D3DXMath.h"
