#include "FilledArea.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

struct TessDelete {
    void operator()(GLUtesselator* tess) const { gluDeleteTess(tess); }
};

// Points by position, each position once, so that an index names a place.
class PointSet {
public:
    uint32_t Add(Point2 p)
    {
        const auto [found, added] = indices.try_emplace({p.x, p.y}, static_cast<uint32_t>(points.size()));
        if (added)
            points.push_back(p);
        return found->second;
    }

    std::vector<Point2> points;

private:
    std::map<std::pair<double, double>, uint32_t> indices;
};

// One run of the tessellator over contours given as point indices. GLU hands each vertex back as
// the opaque pointer it was given, here the point's index; a vertex it makes where edges cross or
// meet is snapped to the grid and added to the points.
class Tessellation {
public:
    Tessellation(PointSet& points, const Grid& grid) : points(points), grid(grid), tess(gluNewTess())
    {
        if (!tess)
            throw std::runtime_error("the GLU tessellator could not be made");
        gluTessNormal(tess.get(), 0.0, 0.0, 1.0);
        Callback(GLU_TESS_BEGIN_DATA, [](GLenum, void* self) { static_cast<Tessellation*>(self)->Begin(); });
        Callback(GLU_TESS_VERTEX_DATA, [](void* vertex, void* self) {
            static_cast<Tessellation*>(self)->corners.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(vertex)));
        });
        Callback(GLU_TESS_COMBINE_DATA, [](GLdouble coords[3], void*[4], GLfloat[4], void** out, void* self) {
            *out = static_cast<Tessellation*>(self)->Combine(coords);
        });
        Callback(GLU_TESS_ERROR_DATA, [](GLenum error, void* self) {
            Tessellation& run = *static_cast<Tessellation*>(self);
            if (run.error == 0)
                run.error = error;
        });
    }

    // Triangles come out as plain triangles (no fans or strips) once an edge-flag callback is set.
    void AskForTriangles()
    {
        Callback(GLU_TESS_EDGE_FLAG_DATA, [](GLboolean, void*) {});
    }

    void Property(GLenum which, GLdouble value) { gluTessProperty(tess.get(), which, value); }

    // Runs the tessellator; what it produced is in runs (each begun by a begin callback), the
    // corners of all runs one after the other.
    void Run(const std::vector<std::vector<uint32_t>>& contours)
    {
        gluTessBeginPolygon(tess.get(), this);
        for (const auto& contour : contours) {
            gluTessBeginContour(tess.get());
            for (const uint32_t index : contour) {
                GLdouble coords[3] = {points.points[index].x, points.points[index].y, 0.0};
                gluTessVertex(tess.get(), coords, reinterpret_cast<void*>(static_cast<uintptr_t>(index)));
            }
            gluTessEndContour(tess.get());
        }
        gluTessEndPolygon(tess.get());
        if (error != 0)
            throw std::runtime_error(std::string("the GLU tessellator failed: ") +
                                     reinterpret_cast<const char*>(gluErrorString(error)));
    }

    std::vector<size_t> runStarts; // where each run's corners begin
    std::vector<uint32_t> corners;

private:
    template <typename Function>
    void Callback(GLenum which, Function function)
    {
        // GLU takes every callback as void (*)(void) and calls it with the arguments of its kind.
        gluTessCallback(tess.get(), which, reinterpret_cast<_GLUfuncptr>(+function));
    }

    void Begin() { runStarts.push_back(corners.size()); }

    void* Combine(const GLdouble coords[3])
    {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(points.Add(grid.Snap({coords[0], coords[1]}))));
    }

    PointSet& points;
    const Grid& grid;
    std::unique_ptr<GLUtesselator, TessDelete> tess;
    GLenum error = 0;
};

// The tessellator joins points of different loops that lie on one line with triangles of zero
// area. Such a flat triangle (a, m, c), m between a and c, stands for its neighbour across a-c
// meeting m: dropping it alone would leave that neighbour's edge a-c against the edges a-m and m-c
// on the other side, a crack. So the neighbour (c, a, d) is split at m into (c, m, d) and
// (m, a, d) and the flat triangle dropped; a split that makes another flat triangle is undone the
// same way in turn. The triangles keep the tessellator's winding, counter-clockwise, which a
// triangle of area also has after the split.
void SplitAcrossFlatTriangles(const std::vector<Point2>& points, std::vector<std::array<uint32_t, 3>>& triangles)
{
    using Edge = std::pair<uint32_t, uint32_t>;
    std::map<Edge, size_t> edgeOwner; // directed edge -> triangle
    std::vector<bool> removed(triangles.size(), false);
    std::vector<size_t> flat;
    const auto area = [&](const std::array<uint32_t, 3>& t) {
        return Cross(points[t[0]], points[t[1]], points[t[2]]);
    };
    const auto add = [&](const std::array<uint32_t, 3>& t) {
        triangles.push_back(t);
        removed.push_back(false);
        for (int k = 0; k < 3; ++k)
            edgeOwner[{t[k], t[(k + 1) % 3]}] = triangles.size() - 1;
        if (area(t) == 0.0)
            flat.push_back(triangles.size() - 1);
    };
    const auto remove = [&](size_t index) {
        removed[index] = true;
        for (int k = 0; k < 3; ++k)
            edgeOwner.erase({triangles[index][k], triangles[index][(k + 1) % 3]});
    };
    const std::vector<std::array<uint32_t, 3>> given = std::move(triangles);
    triangles.clear();
    removed.clear();
    for (const auto& t : given)
        add(t);

    // Every split leaves one flat triangle fewer unless it makes new ones, which are shorter.
    for (size_t steps = 0; !flat.empty(); ++steps) {
        if (steps > 4 * given.size() + 16)
            throw std::runtime_error("flat triangles of the tessellator could not be removed");
        const size_t index = flat.back();
        flat.pop_back();
        if (removed[index])
            continue;
        const std::array<uint32_t, 3> t = triangles[index];
        remove(index);
        // m lies between the other two corners.
        int middle = 0;
        for (int k = 0; k < 3; ++k) {
            const Point2 m = points[t[k]], a = points[t[(k + 1) % 3]], c = points[t[(k + 2) % 3]];
            if ((a.x - m.x) * (c.x - m.x) + (a.y - m.y) * (c.y - m.y) <= 0.0)
                middle = k;
        }
        const uint32_t m = t[middle], a = t[(middle + 1) % 3], c = t[(middle + 2) % 3];
        const auto neighbour = edgeOwner.find({c, a});
        if (neighbour == edgeOwner.end())
            continue; // a-c lies on the boundary: nothing on the other side to meet m
        const size_t other = neighbour->second;
        std::array<uint32_t, 3> n = triangles[other];
        while (n[0] != c)
            std::rotate(n.begin(), n.begin() + 1, n.end());
        const uint32_t d = n[2]; // n = (c, a, d)
        remove(other);
        add({c, m, d});
        add({m, a, d});
    }
    std::vector<std::array<uint32_t, 3>> kept;
    for (size_t i = 0; i < triangles.size(); ++i)
        if (!removed[i])
            kept.push_back(triangles[i]);
    triangles = std::move(kept);
}

} // namespace

FilledArea FillOutline(const std::vector<Contour>& contours, bool evenOdd, const Grid& grid)
{
    // The outline's own contours may overlap or cross; the boundary of what they fill does not.
    PointSet outlinePoints;
    std::vector<std::vector<uint32_t>> outlineLoops;
    for (const Contour& contour : contours) {
        outlineLoops.emplace_back();
        for (const Point2& p : contour)
            outlineLoops.back().push_back(outlinePoints.Add(p));
    }
    Tessellation boundary(outlinePoints, grid);
    boundary.Property(GLU_TESS_WINDING_RULE, evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    boundary.Property(GLU_TESS_BOUNDARY_ONLY, GL_TRUE);
    boundary.Run(outlineLoops);

    // The loops of the boundary, cleaned again since points made where edges cross were snapped to
    // the grid. Loops that touch share the point where they meet.
    PointSet areaPoints;
    FilledArea area;
    boundary.runStarts.push_back(boundary.corners.size());
    for (size_t run = 0; run + 1 < boundary.runStarts.size(); ++run) {
        Contour loop;
        for (size_t i = boundary.runStarts[run]; i < boundary.runStarts[run + 1]; ++i)
            loop.push_back(outlinePoints.points[boundary.corners[i]]);
        RemoveRedundantPoints(loop);
        if (loop.empty())
            continue;
        area.boundaries.emplace_back();
        for (const Point2& p : loop)
            area.boundaries.back().push_back(areaPoints.Add(p));
    }

    Tessellation fill(areaPoints, grid);
    fill.Property(GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    fill.AskForTriangles();
    fill.Run(area.boundaries);
    area.points = areaPoints.points;
    for (size_t i = 0; i + 2 < fill.corners.size(); i += 3)
        area.triangles.push_back({fill.corners[i], fill.corners[i + 1], fill.corners[i + 2]});
    SplitAcrossFlatTriangles(area.points, area.triangles);
    return area;
}
