// Copying a rectangle of one stored image into a rectangle of another: StretchRect's work.
#pragma once

#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/Recorder/detail/ImageBytes.h"

// Rectangles lie inside their images. Equal sizes and formats copy bytes; otherwise each
// destination pixel takes the source pixel under its centre (D3DTEXF_NONE, D3DTEXF_POINT) or the
// bilinear blend of the four around it (D3DTEXF_LINEAR), converted to the destination's format.
void CopyRect(const ImageBytes& from, const RECT& fromRect, ImageBytes& to, const RECT& toRect,
              D3DTEXTUREFILTERTYPE filter);
