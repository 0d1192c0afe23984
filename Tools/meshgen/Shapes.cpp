#include "Shapes.h"

#include <cmath>
#include <numbers>

namespace {

using Vec3 = std::array<float, 3>;

Vec3 Add(const Vec3& a, const Vec3& b, const Vec3& c)
{
    return {a[0] + b[0] + c[0], a[1] + b[1] + c[1], a[2] + b[2] + c[2]};
}

Vec3 Scale(const Vec3& v, float s)
{
    return {v[0] * s, v[1] * s, v[2] * s};
}

Vec3 Sum(const Vec3& a, const Vec3& b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

float Dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Normalise(const Vec3& v)
{
    return Scale(v, 1.0f / std::sqrt(Dot(v, v)));
}

// One side of a box: its outward normal and the directions of its texture's right and up, chosen
// so that right x up = -normal, which makes (top left, top right, bottom right) wind outwards.
struct BoxSide {
    Vec3 normal, right, up;
};

constexpr BoxSide Sides[6] = {
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},   // +X
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, // -X
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},   // +Y
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}}, // -Y
    {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},  // +Z
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},  // -Z
};

} // namespace

ShapeMesh MakeBox(float width, float height, float depth, const std::string& name)
{
    const Vec3 half{width / 2, height / 2, depth / 2};
    const auto scaled = [&](const Vec3& v) { return Vec3{v[0] * half[0], v[1] * half[1], v[2] * half[2]}; };
    ShapeMesh mesh{name, {}, {}, {}, {}};
    for (const BoxSide& side : Sides) {
        const auto first = static_cast<uint32_t>(mesh.positions.size());
        const Vec3 centre = scaled(side.normal), right = scaled(side.right), up = scaled(side.up);
        const Vec3 corners[4] = {Add(centre, Scale(right, -1), up), Add(centre, right, up),
                                 Add(centre, right, Scale(up, -1)), Add(centre, Scale(right, -1), Scale(up, -1))};
        const std::array<float, 2> uvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            mesh.positions.push_back(corners[i]);
            mesh.normals.push_back(side.normal);
            mesh.texCoords.push_back(uvs[i]);
        }
        mesh.triangles.push_back({first, first + 1, first + 2});
        mesh.triangles.push_back({first, first + 2, first + 3});
    }
    return mesh;
}

ShapeMesh MakePlane(float width, float depth, uint32_t subdivisions)
{
    ShapeMesh mesh{"Plane", {}, {}, {}, {}};
    const uint32_t n = subdivisions;
    for (uint32_t j = 0; j <= n; ++j) {
        for (uint32_t i = 0; i <= n; ++i) {
            const float u = float(i) / float(n), v = float(j) / float(n);
            mesh.positions.push_back({(u - 0.5f) * width, 0.0f, (v - 0.5f) * depth});
            mesh.normals.push_back({0, 1, 0});
            mesh.texCoords.push_back({u, v});
        }
    }
    const auto at = [n](uint32_t i, uint32_t j) { return j * (n + 1) + i; };
    for (uint32_t j = 0; j < n; ++j) {
        for (uint32_t i = 0; i < n; ++i) {
            mesh.triangles.push_back({at(i, j), at(i, j + 1), at(i + 1, j + 1)});
            mesh.triangles.push_back({at(i, j), at(i + 1, j + 1), at(i + 1, j)});
        }
    }
    return mesh;
}

ShapeMesh MakeSphere(uint32_t segments, uint32_t rings)
{
    ShapeMesh mesh{"Sphere", {}, {}, {}, {}};
    for (uint32_t r = 0; r <= rings; ++r) {
        // Exact poles, so that every pole vertex sits at the same point.
        const double theta = std::numbers::pi * r / rings;
        const double sinTheta = (r == 0 || r == rings) ? 0.0 : std::sin(theta);
        const double cosTheta = r == 0 ? 1.0 : r == rings ? -1.0 : std::cos(theta);
        for (uint32_t s = 0; s <= segments; ++s) {
            // The seam repeats the first column's positions exactly, only its u differs.
            const double phi = 2.0 * std::numbers::pi * (s % segments) / segments;
            const Vec3 p{float(sinTheta * std::cos(phi)), float(cosTheta), float(sinTheta * std::sin(phi))};
            mesh.positions.push_back(p);
            mesh.normals.push_back(p);
            mesh.texCoords.push_back({float(s) / float(segments), float(r) / float(rings)});
        }
    }
    const auto at = [segments](uint32_t r, uint32_t s) { return r * (segments + 1) + s; };
    for (uint32_t r = 0; r < rings; ++r) {
        for (uint32_t s = 0; s < segments; ++s) {
            const uint32_t a = at(r, s), b = at(r, s + 1), c = at(r + 1, s + 1), d = at(r + 1, s);
            if (r > 0) // at the north pole a and b coincide
                mesh.triangles.push_back({a, b, c});
            if (r + 1 < rings) // at the south pole c and d coincide
                mesh.triangles.push_back({a, c, d});
        }
    }
    return mesh;
}

ShapeMesh MakeBevelCube(float radius, uint32_t segments)
{
    ShapeMesh mesh{"BevelCube", {}, {}, {}, {}};
    const float inner = 0.5f - radius; // half size of the box whose rounded shell this is
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    // A point of the shell: radius out from a point of the inner box along the unit normal.
    const auto vertex = [&](const Vec3& core, const Vec3& normal) {
        const Vec3 position = Sum(core, Scale(normal, radius));
        int side = 0;
        for (int s = 1; s < 6; ++s)
            if (Dot(normal, Sides[s].normal) > Dot(normal, Sides[side].normal))
                side = s;
        mesh.positions.push_back(position);
        mesh.normals.push_back(normal);
        mesh.texCoords.push_back({0.5f + Dot(position, Sides[side].right), 0.5f - Dot(position, Sides[side].up)});
        return static_cast<uint32_t>(mesh.positions.size() - 1);
    };
    // Wound outwards whatever order the corners come in: the normals say where outside is.
    const auto triangle = [&](uint32_t a, uint32_t b, uint32_t c) {
        const Vec3 &pa = mesh.positions[a], &pb = mesh.positions[b], &pc = mesh.positions[c];
        const Vec3 ab{pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]}, ac{pc[0] - pa[0], pc[1] - pa[1], pc[2] - pa[2]};
        const Vec3 face{ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2], ab[0] * ac[1] - ab[1] * ac[0]};
        const Vec3 outward = Add(mesh.normals[a], mesh.normals[b], mesh.normals[c]);
        if (Dot(face, outward) >= 0.0f)
            mesh.triangles.push_back({a, b, c});
        else
            mesh.triangles.push_back({a, c, b});
    };
    const auto quad = [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
        triangle(a, b, c);
        triangle(a, c, d);
    };

    // The six flat sides.
    for (const BoxSide& side : Sides) {
        const Vec3 centre = Scale(side.normal, inner), right = Scale(side.right, inner), up = Scale(side.up, inner);
        const uint32_t first = vertex(Add(centre, Scale(right, -1), up), side.normal);
        vertex(Add(centre, right, up), side.normal);
        vertex(Add(centre, right, Scale(up, -1)), side.normal);
        vertex(Add(centre, Scale(right, -1), Scale(up, -1)), side.normal);
        quad(first, first + 1, first + 2, first + 3);
    }

    // Twelve edges: along axis c, between the sides facing sa along axis a and sb along axis b.
    // Step k turns the normal from a towards b by the same blend the corner patches use, so the
    // strips meet the corners vertex for vertex.
    for (int c = 0; c < 3; ++c) {
        const int a = (c + 1) % 3, b = (c + 2) % 3;
        for (const float sa : {-1.0f, 1.0f})
            for (const float sb : {-1.0f, 1.0f}) {
                const Vec3 towardsA = Scale(axes[a], sa), towardsB = Scale(axes[b], sb);
                const Vec3 edge = Sum(Scale(towardsA, inner), Scale(towardsB, inner));
                uint32_t previous = 0;
                for (uint32_t k = 0; k <= segments; ++k) {
                    const Vec3 normal = Normalise(Sum(Scale(towardsA, float(segments - k)), Scale(towardsB, float(k))));
                    const uint32_t low = vertex(Sum(edge, Scale(axes[c], -inner)), normal);
                    vertex(Sum(edge, Scale(axes[c], inner)), normal);
                    if (k > 0)
                        quad(previous, previous + 1, low + 1, low);
                    previous = low;
                }
            }
    }

    // Eight corners: a triangular patch of the sphere, its normals the blends i x + j y + k z
    // (i + j + k = segments) of the three side normals.
    for (const float sx : {-1.0f, 1.0f})
        for (const float sy : {-1.0f, 1.0f})
            for (const float sz : {-1.0f, 1.0f}) {
                const Vec3 core = Scale(Vec3{sx, sy, sz}, inner);
                const uint32_t first = static_cast<uint32_t>(mesh.positions.size());
                // Row i holds segments - i + 1 vertices, j = 0 .. segments - i.
                const auto at = [&](uint32_t i, uint32_t j) {
                    return first + i * (segments + 1) - i * (i - 1) / 2 + j;
                };
                for (uint32_t i = 0; i <= segments; ++i)
                    for (uint32_t j = 0; i + j <= segments; ++j)
                        vertex(core, Normalise({sx * float(i), sy * float(j), sz * float(segments - i - j)}));
                for (uint32_t i = 0; i < segments; ++i)
                    for (uint32_t j = 0; i + j < segments; ++j) {
                        triangle(at(i, j), at(i + 1, j), at(i, j + 1));
                        if (i + j + 1 < segments)
                            triangle(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
                    }
            }
    return mesh;
}
