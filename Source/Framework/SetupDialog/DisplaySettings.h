// The display choices the device is created from: what the setup dialog writes and the framework
// holds, with the framework's defaults for a run without the dialog.
#pragma once

struct DisplaySettings {
    unsigned backBufferWidth = 800;
    unsigned backBufferHeight = 600;
    // The picture inside the back buffer; the rest is black bars.
    unsigned renderWidth = 800;
    unsigned renderHeight = 450;
    unsigned refreshRate = 0; // Hz, fullscreen only
    unsigned multiSampleType = 4; // samples, 0 = none
    unsigned multiSampleQuality = 0;
    bool fullscreen = false;
    bool vsync = false;
    float monitorAspect = 16.0f / 9.0f;

    // The picture is centred: bars at the top and bottom, or at both sides of a back buffer wider
    // than the picture.
    unsigned PictureLeft() const { return (backBufferWidth - renderWidth) / 2; }
    unsigned PictureTop() const { return (backBufferHeight - renderHeight) / 2; }
};
