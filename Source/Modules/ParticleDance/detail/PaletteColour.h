// The colour of a dance sprite: a draw of the shared generator picks a point on the palette
// white -> blue -> black, at alpha 204.
#pragma once

#include "Platform/Gfx/D3D9Color.h"

namespace dance::detail {

// The colour for draw r (0 .. 32767).
D3DCOLOR PaletteColour(int r);

} // namespace dance::detail
