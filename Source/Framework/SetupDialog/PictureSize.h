// Where the picture sits in the back buffer: the show is drawn 16:9 and letterboxed.
#pragma once

#include "Framework/SetupDialog/DisplaySettings.h"

// From the chosen back buffer, fullscreen and monitorAspect: renderWidth is the back buffer's
// width and renderHeight its 16:9 height; windowed, the back buffer shrinks to the picture;
// fullscreen, the picture is stretched by monitorAspect over the mode's own shape, so that it
// still looks 16:9 on a monitor whose pixels the mode makes non-square.
void FitPictureToBackBuffer(DisplaySettings& settings);
