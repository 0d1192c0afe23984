// Which frames an offline run goes through, and what it does with each. Frames lie on one grid of
// the show clock, t = j / fps (or from + j / fps when from is not on that grid), so that a run
// that starts late meets the very frame times of a run from the start.
//
// A frame at t depends on what came before it: the particles, the screen filter, the shared
// random generator and the scenes' switches move on every frame, drawn or not, and a scene that
// draws over its last picture (the intro, the end) also depends on the pictures drawn before. So
// a run starting at `from` first steps every earlier frame from the show's start without drawing
// it (cheap: simulation only), then draws without keeping the frames from one frame before such
// a scene began, and keeps frames from `from` on. Its frames are then the same, bit for bit, as
// those of a run from the start.
#pragma once

#include <cstdint>

struct FramePlan {
    double fps = 60.0;
    // Frame j is at Time(j); onGrid says whether the grid is anchored at 0.
    bool onGrid = true;
    double origin = 0.0;
    int64_t firstStepped = 0; // the earliest frame at or after second 0
    int64_t firstDrawn = 0;
    int64_t firstKept = 0;
    int64_t end = 0; // one past the last kept frame

    double Time(int64_t frame) const;
    int64_t KeptFrames() const { return end - firstKept; }
};

// The plan for the frames from `from` (kept) up to `to` (not kept: (to - from) x fps frames,
// rounded), where pictureStart is the earliest show time whose drawn picture the frame at `from`
// depends on (from itself for a scene that draws afresh every frame).
FramePlan PlanFrames(double from, double to, double fps, double pictureStart);
