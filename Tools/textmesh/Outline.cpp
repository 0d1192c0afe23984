#include "Outline.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The finest step: 2^-17 (7.6e-6) still differs from its neighbours in the sixth decimal.
constexpr int FinestStepExponent = -17;
// Grid points stay within 2^23 steps of zero: exact in a float's 24-bit mantissa, and the
// differences of two (2^24 steps at most) multiply exactly within a double's 53 bits.
constexpr int StepsExponent = 23;

} // namespace

double Cross(Point2 o, Point2 a, Point2 b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

Grid::Grid(double extent)
{
    int exponent = 0;
    std::frexp(std::max(extent, 1.0), &exponent); // extent < 2^exponent
    step = std::ldexp(1.0, std::max(FinestStepExponent, exponent - StepsExponent));
}

Point2 Grid::Snap(Point2 p) const
{
    return {std::round(p.x / step) * step, std::round(p.y / step) * step};
}

void RemoveRedundantPoints(Contour& contour)
{
    // A point is redundant when it repeats the one before it or lies on the line from the one
    // before it to the one after it.
    const auto redundant = [](Point2 before, Point2 point, Point2 after) {
        return point == before || Cross(before, point, after) == 0.0;
    };
    Contour kept;
    kept.reserve(contour.size());
    for (const Point2& p : contour) {
        if (!kept.empty() && kept.back() == p)
            continue;
        while (kept.size() >= 2 && redundant(kept[kept.size() - 2], kept.back(), p))
            kept.pop_back();
        if (kept.empty() || kept.back() != p)
            kept.push_back(p);
    }
    // Around the seam, where the last point meets the first.
    for (bool changed = true; changed && kept.size() >= 3;) {
        changed = false;
        if (redundant(kept[kept.size() - 2], kept.back(), kept.front())) {
            kept.pop_back();
            changed = true;
        } else if (redundant(kept.back(), kept.front(), kept[1])) {
            kept.erase(kept.begin());
            changed = true;
        }
    }
    if (kept.size() < 3)
        kept.clear();
    contour = std::move(kept);
}
