// Flat outlines in world units, and the grid their points are snapped to.
#pragma once

#include <vector>

struct Point2 {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point2&) const = default;
};

// A closed polygon: the last point joins the first, which is not repeated.
using Contour = std::vector<Point2>;

// (a - o) x (b - o): positive when o, a, b turn counter-clockwise (seen from +z, y up).
double Cross(Point2 o, Point2 a, Point2 b);

// The points of a text mesh lie on a grid of a power of two. It is fine enough not to show, and
// coarse enough that every grid point of the outline's extent is exact as a float and apart from
// its neighbours in the six decimals of a ".x" file (so the written mesh has exactly these points,
// and edges meant to meet do meet), and that Cross of grid points is exact in double (so a
// collinearity test is a sure one).
class Grid {
public:
    // extent: the largest |coordinate| the grid must hold.
    explicit Grid(double extent);
    double Step() const { return step; }
    Point2 Snap(Point2 p) const;

private:
    double step;
};

// Removes repeated points and points on the straight line through their neighbours (which also
// folds away zero-width spikes), around the closed contour. Exact for grid points. What is left
// may be fewer than three points: then the contour encloses nothing.
void RemoveRedundantPoints(Contour& contour);
