#include "Platform/D3DX/XMeshLoader.h"
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>

namespace {

using Vec3 = std::array<float, 3>;

Vec3 Position(const XMeshVertex& v)
{
    return {v.position[0], v.position[1], v.position[2]};
}

Vec3 Sub(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float Dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

float Length(const Vec3& v)
{
    return std::sqrt(Dot(v, v));
}

class MeshgenTest : public ArchiveFixture {
protected:
    XMesh Generate(std::vector<std::string> args)
    {
        args.insert(args.end(), {"-o", "mesh.x"});
        const ToolRun run = Invoke(QL_MESHGEN, args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        const std::string text = ReadText("mesh.x");
        return LoadXMesh(text.data(), text.size());
    }

    // Every triangle winds so that (b - a) x (c - a) points along its corners' normals, and the
    // mesh is one subset with one white material.
    static void ExpectOutwardWindingAndOneWhiteMaterial(const XMesh& mesh)
    {
        ASSERT_EQ(mesh.subsets.size(), 1u);
        ASSERT_EQ(mesh.materials.size(), 1u);
        EXPECT_EQ(std::vector<float>(mesh.materials[0].diffuse, mesh.materials[0].diffuse + 4),
                  (std::vector<float>{1, 1, 1, 1}));
        EXPECT_EQ(mesh.subsets[0].faceCount * 3, mesh.indices.size());
        for (size_t i = 0; i < mesh.indices.size(); i += 3) {
            const XMeshVertex &a = mesh.vertices[mesh.indices[i]], &b = mesh.vertices[mesh.indices[i + 1]],
                              &c = mesh.vertices[mesh.indices[i + 2]];
            const Vec3 face = Cross(Sub(Position(b), Position(a)), Sub(Position(c), Position(a)));
            for (const XMeshVertex* corner : {&a, &b, &c}) {
                const Vec3 normal{corner->normal[0], corner->normal[1], corner->normal[2]};
                EXPECT_NEAR(Length(normal), 1.0f, 1e-5f);
                EXPECT_GT(Dot(face, normal), 0.7f * Length(face)) << "triangle " << i / 3;
            }
        }
    }
};

TEST_F(MeshgenTest, BoxHasItsSizeAWholeTexturePerSideAndWindsOutwards)
{
    const XMesh mesh = Generate({"box", "2", "3", "4"});
    EXPECT_EQ(mesh.vertices.size(), 24u);
    EXPECT_EQ(mesh.indices.size(), 36u);
    ExpectOutwardWindingAndOneWhiteMaterial(mesh);
    for (const XMeshVertex& v : mesh.vertices) {
        EXPECT_EQ(std::fabs(v.position[0]), 1.0f);
        EXPECT_EQ(std::fabs(v.position[1]), 1.5f);
        EXPECT_EQ(std::fabs(v.position[2]), 2.0f);
        EXPECT_TRUE(v.texCoord[0] == 0.0f || v.texCoord[0] == 1.0f);
        // On the four upright sides the top of the texture is the top of the box.
        if (v.normal[1] == 0.0f) {
            EXPECT_EQ(v.texCoord[1], v.position[1] > 0 ? 0.0f : 1.0f);
        }
    }
}

TEST_F(MeshgenTest, PlaneIsAGridFacingUp)
{
    const XMesh mesh = Generate({"plane", "2", "4", "3"});
    EXPECT_EQ(mesh.vertices.size(), 16u);
    EXPECT_EQ(mesh.indices.size(), 3u * 18u);
    ExpectOutwardWindingAndOneWhiteMaterial(mesh);
    for (const XMeshVertex& v : mesh.vertices) {
        EXPECT_EQ(v.position[1], 0.0f);
        EXPECT_EQ(v.normal[1], 1.0f);
        EXPECT_NEAR(v.texCoord[0], (v.position[0] + 1.0f) / 2.0f, 1e-6f);
        EXPECT_NEAR(v.texCoord[1], (v.position[2] + 2.0f) / 4.0f, 1e-6f);
    }
}

TEST_F(MeshgenTest, SphereIsTheUnitSphereWithOutwardNormals)
{
    const XMesh mesh = Generate({"sphere", "8", "4"});
    EXPECT_EQ(mesh.indices.size(), 3u * 2u * 8u * 3u);
    ExpectOutwardWindingAndOneWhiteMaterial(mesh);
    for (const XMeshVertex& v : mesh.vertices) {
        EXPECT_NEAR(Length(Position(v)), 1.0f, 1e-5f);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(v.normal[c], v.position[c], 1e-5f);
        EXPECT_NEAR(v.texCoord[1], std::acos(std::clamp(v.position[1], -1.0f, 1.0f)) / 3.14159265f, 1e-5f);
    }
}

// The rounded cube's shell lies radius out from the inner box, along its normals, and closes: once
// vertices at the same place count as one, every edge borders exactly two triangles that run
// along it in opposite directions, so there is no gap and no flipped triangle between the sides,
// edges and corners.
TEST_F(MeshgenTest, BevelCubeIsAClosedRoundedUnitCube)
{
    for (const auto& [radius, segments] : std::vector<std::pair<float, std::string>>{{0.1f, "2"}, {0.06f, "5"}, {0.25f, "8"}}) {
        const XMesh mesh = Generate({"bevelcube", std::to_string(radius), segments});
        ExpectOutwardWindingAndOneWhiteMaterial(mesh);
        Vec3 extent{0, 0, 0};
        std::map<std::array<long, 3>, size_t> places;
        std::vector<size_t> place;
        for (const XMeshVertex& v : mesh.vertices) {
            Vec3 offset;
            for (int c = 0; c < 3; ++c) {
                offset[c] = v.position[c] - std::clamp(v.position[c], radius - 0.5f, 0.5f - radius);
                extent[c] = std::max(extent[c], std::fabs(v.position[c]));
                EXPECT_NEAR(v.normal[c], offset[c] / radius, 1e-3f);
            }
            EXPECT_NEAR(Length(offset), radius, 1e-5f);
            const std::array<long, 3> key{std::lround(v.position[0] * 1e4f), std::lround(v.position[1] * 1e4f),
                                          std::lround(v.position[2] * 1e4f)};
            place.push_back(places.emplace(key, places.size()).first->second);
        }
        EXPECT_EQ(extent, (Vec3{0.5f, 0.5f, 0.5f})) << segments;

        std::map<std::pair<size_t, size_t>, int> edges;
        for (size_t i = 0; i < mesh.indices.size(); i += 3)
            for (size_t k = 0; k < 3; ++k)
                ++edges[{place[mesh.indices[i + k]], place[mesh.indices[i + (k + 1) % 3]]}];
        for (const auto& [edge, count] : edges) {
            EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second << " with " << segments << " segments";
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
                << "open edge " << edge.first << "-" << edge.second << " with " << segments << " segments";
        }
    }
}

TEST_F(MeshgenTest, TheSameArgumentsGiveTheSameBytes)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"sphere", "17", "9"}, {"box", "0.1", "2.5", "1e3"}, {"cube"}}) {
        std::vector<std::string> first = args, second = args;
        first.insert(first.end(), {"-o", "first.x"});
        second.insert(second.end(), {"-o", "second.x"});
        ASSERT_EQ(Invoke(QL_MESHGEN, first).exitCode, 0);
        ASSERT_EQ(Invoke(QL_MESHGEN, second).exitCode, 0);
        const std::string text = ReadText("first.x");
        EXPECT_EQ(text.rfind("xof 0303txt 0032\n", 0), 0u);
        EXPECT_EQ(text, ReadText("second.x"));
        EXPECT_EQ(text.find("-0.000000"), std::string::npos);
    }
}

TEST_F(MeshgenTest, HelpUsageErrorsAndUnwritableFiles)
{
    const ToolRun help = Invoke(QL_MESHGEN, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: meshgen box WIDTH HEIGHT DEPTH -o FILE\n", 0), 0u);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-o", "m.x"}, {"pyramid", "-o", "m.x"}, {"box", "1", "2", "-o", "m.x"}, {"box", "1", "2", "0", "-o", "m.x"},
             {"box", "1", "2", "nan", "-o", "m.x"}, {"box", "1", "2", "2e6", "-o", "m.x"}, {"box", "1", "2", "3"},
             {"cube", "1", "-o", "m.x"}, {"plane", "1", "1", "0", "-o", "m.x"}, {"plane", "1", "1", "257", "-o", "m.x"},
             {"sphere", "2", "2", "-o", "m.x"}, {"sphere", "3", "1", "-o", "m.x"}, {"sphere", "3", "x", "-o", "m.x"},
             {"bevelcube", "0.5", "4", "-o", "m.x"}, {"bevelcube", "0", "4", "-o", "m.x"},
             {"bevelcube", "0.1", "1", "-o", "m.x"}, {"bevelcube", "0.1", "65", "-o", "m.x"},
             {"bevelcube", "0.1", "-o", "m.x"}}) {
        const ToolRun run = Invoke(QL_MESHGEN, args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("Try 'meshgen --help'."), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists("m.x"));
    }

    const ToolRun unwritable = Invoke(QL_MESHGEN, {"cube", "-o", "no/such/folder/m.x"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err, "meshgen: no/such/folder/m.x: cannot open the file for writing: No such file or directory\n");
}

} // namespace
