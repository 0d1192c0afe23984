// A colour read back from a Recorder surface: red, green, blue, alpha as floats, channels a format
// lacks reading as Direct3D reads them (1).
#pragma once

#include <array>

using Rgba = std::array<float, 4>;
