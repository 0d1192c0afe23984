// A core file that reaches the graphics device through the framework: the layering check must
// refuse it, though the framework layer itself may include the platform.
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/DXFramework.h"
