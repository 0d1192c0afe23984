// What each format this layer stores is: colour, depth or index data, and its size per pixel.
// Formats outside this table are refused wherever a resource is made.
#pragma once

#include "Platform/Gfx/D3D9Base.h"
#include "Platform/Gfx/D3D9Formats.h"

enum class FormatKind { Colour, Depth, Index };

struct FormatInfo {
    FormatKind kind;
    UINT bytesPerPixel;
    bool hasStencil;
    // As Direct3D spells it, for messages.
    const char* name;
};

// Null for a format the layer does not know.
const FormatInfo* DescribeFormat(D3DFORMAT format);

// As Direct3D spells it ("D3DFMT_A8R8G8B8"), for messages.
const char* FormatName(D3DFORMAT format);

bool IsColourFormat(D3DFORMAT format);
bool IsDepthFormat(D3DFORMAT format);
