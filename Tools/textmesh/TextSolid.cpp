#include "TextSolid.h"

#include <cmath>
#include <numbers>

namespace {

using Vec3 = std::array<float, 3>;

class SolidBuilder {
public:
    SolidBuilder(ShapeMesh& mesh, const SolidLook& look) : mesh(mesh), look(look) {}

    uint32_t Vertex(Point2 p, double z, Vec3 normal)
    {
        mesh.positions.push_back({float(p.x), float(p.y), float(z)});
        mesh.normals.push_back(normal);
        mesh.texCoords.push_back({float(p.x / look.advance), float(1.0 - p.y / look.capHeight)});
        return static_cast<uint32_t>(mesh.positions.size() - 1);
    }

    void Triangle(uint32_t a, uint32_t b, uint32_t c) { mesh.triangles.push_back({a, b, c}); }

private:
    ShapeMesh& mesh;
    const SolidLook& look;
};

// The outward normal of the wall from a to b, the filled area lying on the left of the edge.
Point2 WallNormal(Point2 a, Point2 b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    return {dy / length, -dx / length};
}

Vec3 Flat(Point2 n)
{
    return {float(n.x), float(n.y), 0.0f};
}

// The walls along one closed loop of the boundary.
void AddWalls(SolidBuilder& solid, const std::vector<Point2>& points, const std::vector<uint32_t>& loop,
              double front, double back)
{
    const size_t count = loop.size();
    const auto at = [&](size_t i) { return points[loop[i % count]]; };
    std::vector<Point2> normals(count); // normals[i]: the wall from point i to point i + 1
    for (size_t i = 0; i < count; ++i)
        normals[i] = WallNormal(at(i), at(i + 1));

    // Each point's front and back vertices where the wall before it ends and where the wall after
    // it starts: the same pair where the boundary turns gently.
    const double smoothCosine = std::cos(CreaseDegrees * std::numbers::pi / 180.0);
    struct Pair {
        uint32_t front, back;
    };
    std::vector<Pair> ends(count), starts(count);
    for (size_t i = 0; i < count; ++i) {
        const Point2 before = normals[(i + count - 1) % count], after = normals[i];
        const Point2 p = at(i);
        if (before.x * after.x + before.y * after.y > smoothCosine) {
            const double length = std::hypot(before.x + after.x, before.y + after.y);
            const Vec3 mean{float((before.x + after.x) / length), float((before.y + after.y) / length), 0.0f};
            ends[i] = starts[i] = {solid.Vertex(p, front, mean), solid.Vertex(p, back, mean)};
        } else {
            ends[i] = {solid.Vertex(p, front, Flat(before)), solid.Vertex(p, back, Flat(before))};
            starts[i] = {solid.Vertex(p, front, Flat(after)), solid.Vertex(p, back, Flat(after))};
        }
    }
    // With the area on the left of a -> b, (a back - a front) x (b back - a front) points out.
    for (size_t i = 0; i < count; ++i) {
        const Pair a = starts[i], b = ends[(i + 1) % count];
        solid.Triangle(a.front, a.back, b.back);
        solid.Triangle(a.front, b.back, b.front);
    }
}

} // namespace

ShapeMesh MakeTextSolid(const FilledArea& area, const SolidLook& look)
{
    ShapeMesh mesh{"Text", {}, {}, {}, {}};
    SolidBuilder solid(mesh, look);
    const double front = look.depth / 2, back = -look.depth / 2;

    // The faces share their vertices across their triangles: index i is point i on the front,
    // count + i on the back.
    const auto count = static_cast<uint32_t>(area.points.size());
    for (const Point2& p : area.points)
        solid.Vertex(p, front, {0.0f, 0.0f, 1.0f});
    for (const Point2& p : area.points)
        solid.Vertex(p, back, {0.0f, 0.0f, -1.0f});
    for (const auto& [a, b, c] : area.triangles) {
        solid.Triangle(a, b, c);                         // counter-clockwise seen from +z
        solid.Triangle(count + a, count + c, count + b); // and so from -z
    }
    for (const auto& loop : area.boundaries)
        AddWalls(solid, area.points, loop, front, back);
    return mesh;
}
