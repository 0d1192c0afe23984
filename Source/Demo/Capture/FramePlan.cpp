#include "Demo/Capture/FramePlan.h"

#include <algorithm>
#include <cmath>

namespace {

// How far from a whole number of frames a time may lie and still count as on the grid.
constexpr double GridTolerance = 1e-6;

} // namespace

double FramePlan::Time(int64_t frame) const
{
    return onGrid ? static_cast<double>(frame) / fps : origin + static_cast<double>(frame) / fps;
}

FramePlan PlanFrames(double from, double to, double fps, double pictureStart)
{
    FramePlan plan;
    plan.fps = fps;
    const double first = from * fps;
    const double nearest = std::round(first);
    plan.onGrid = std::abs(first - nearest) < GridTolerance;
    plan.origin = plan.onGrid ? 0.0 : from;
    const int64_t start = plan.onGrid ? static_cast<int64_t>(nearest) : 0;
    plan.firstKept = start;
    plan.end = start + std::llround((to - from) * fps);
    // The earliest frame at or after second 0, and the first whose picture counts.
    plan.firstStepped = start - static_cast<int64_t>(std::floor(from * fps + GridTolerance));
    const double drawnFrames = std::ceil((from - std::min(pictureStart, from)) * fps - GridTolerance);
    plan.firstDrawn = std::max(plan.firstStepped, start - static_cast<int64_t>(drawnFrames));
    return plan;
}
