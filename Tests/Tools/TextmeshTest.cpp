// textmesh run as the build runs it, on the font the show uses. Its meshes load through the
// engine's ".x" loader as closed solids wound outwards, fill exactly what the glyph outlines fill
// (holes open), lie where the scroller expects them, and bad input is refused with the fault named.
#include "Platform/D3DX/XMeshLoader.h"
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <array>
#include <cmath>
#include <filesystem>
#include <map>

namespace {

const std::string Font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

using Vec3 = std::array<double, 3>;

Vec3 At(const XMeshVertex& v)
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

double Dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double Length(const Vec3& v)
{
    return std::sqrt(Dot(v, v));
}

// What FreeType says of one character, unscaled (font units): the exact area its outline
// encloses, outer contours minus holes (Green's theorem over the Bézier segments themselves, not
// over straight pieces), and its box and advance.
struct Glyph {
    double area = 0;
    FT_BBox box{};
    FT_Pos advance = 0;
};

Glyph MeasureGlyph(char32_t c)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Glyph glyph;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, Font.c_str(), 0, &face) ||
        FT_Load_Char(face, c, FT_LOAD_NO_SCALE)) {
        ADD_FAILURE() << "FreeType cannot read " << Font;
        FT_Done_FreeType(library);
        return glyph;
    }
    struct Walk {
        FT_Vector last{};
        double twiceArea = 0;
        double cross(const FT_Vector& a, const FT_Vector& b) const { return double(a.x) * b.y - double(a.y) * b.x; }
    } walk;
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector* to, void* w) { static_cast<Walk*>(w)->last = *to; return 0; };
    funcs.line_to = [](const FT_Vector* to, void* w) {
        Walk& walk = *static_cast<Walk*>(w);
        walk.twiceArea += walk.cross(walk.last, *to);
        walk.last = *to;
        return 0;
    };
    funcs.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* w) {
        Walk& walk = *static_cast<Walk*>(w);
        walk.twiceArea += (2 * walk.cross(walk.last, *c) + 2 * walk.cross(*c, *to) + walk.cross(walk.last, *to)) / 3;
        walk.last = *to;
        return 0;
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* w) {
        Walk& walk = *static_cast<Walk*>(w);
        const FT_Vector& p0 = walk.last;
        walk.twiceArea += (6 * walk.cross(p0, *c1) + 3 * walk.cross(p0, *c2) + walk.cross(p0, *to) +
                           3 * walk.cross(*c1, *c2) + 3 * walk.cross(*c1, *to) + 6 * walk.cross(*c2, *to)) /
                          10;
        walk.last = *to;
        return 0;
    };
    EXPECT_EQ(FT_Outline_Decompose(&face->glyph->outline, &funcs, &walk), 0);
    glyph.area = std::fabs(walk.twiceArea) / 2;
    FT_Outline_Get_CBox(&face->glyph->outline, &glyph.box);
    glyph.advance = face->glyph->advance.x;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return glyph;
}

class TextmeshTest : public ArchiveFixture {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(Font))
            GTEST_SKIP() << Font << " is missing: install the Debian package fonts-dejavu-core";
        ArchiveFixture::SetUp();
    }

    void TearDown() override
    {
        if (!directory.empty())
            ArchiveFixture::TearDown();
    }

    XMesh Generate(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--font", Font, "-o", "text.x"});
        const ToolRun run = Invoke(QL_TEXTMESH, args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        const std::string text = ReadText("text.x");
        return LoadXMesh(text.data(), text.size());
    }

    static double CapScale(double height) { return height / double(MeasureGlyph(U'H').box.yMax); }

    // Exit status 1 with the message; nothing written, not even in part.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& message)
    {
        const ToolRun run = Invoke(QL_TEXTMESH, args);
        EXPECT_EQ(run.exitCode, 1) << ::testing::PrintToString(args);
        EXPECT_EQ(run.err, "textmesh: " + message + "\n");
        for (const auto& entry : std::filesystem::directory_iterator("."))
            EXPECT_EQ(entry.path().filename().string().find("out.x"), std::string::npos) << entry.path();
    }
};

TEST_F(TextmeshTest, GlyphsWithHolesBecomeAClosedSolidThatFillsTheirOutlinesExactly)
{
    const double height = 0.5, depth = 0.1, tolerance = 0.0005;
    const XMesh mesh = Generate({"--text", "O8Ba", "--height", "0.5", "--depth", "0.1", "--tolerance", "0.0005"});
    ASSERT_EQ(mesh.subsets.size(), 1u);
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(std::vector<float>(mesh.materials[0].diffuse, mesh.materials[0].diffuse + 4),
              (std::vector<float>{1, 1, 1, 1}));

    double front = 0, back = 0, wall = 0, volume = 0;
    std::map<std::pair<Vec3, Vec3>, int> edges; // directed edges between corners, by position
    for (size_t i = 0; i < mesh.indices.size(); i += 3) {
        const XMeshVertex* corners[3] = {&mesh.vertices[mesh.indices[i]], &mesh.vertices[mesh.indices[i + 1]],
                                         &mesh.vertices[mesh.indices[i + 2]]};
        const Vec3 a = At(*corners[0]), b = At(*corners[1]), c = At(*corners[2]);
        const Vec3 face = Cross(Sub(b, a), Sub(c, a));
        ASSERT_GT(Length(face), 1e-9) << "triangle " << i / 3 << " has no area";
        volume += Dot(a, Cross(b, c)) / 6;
        for (int k = 0; k < 3; ++k)
            ++edges[{At(*corners[k]), At(*corners[(k + 1) % 3])}];
        for (const XMeshVertex* corner : corners) {
            const Vec3 normal{corner->normal[0], corner->normal[1], corner->normal[2]};
            EXPECT_NEAR(Length(normal), 1.0, 1e-5);
            ASSERT_GT(Dot(face, normal), 0.7 * Length(face)) << "triangle " << i / 3 << " is wound against its normal";
            EXPECT_TRUE(normal[2] == 0.0 || std::fabs(normal[2]) == 1.0) << "triangle " << i / 3;
            if (normal[2] != 0.0) {
                EXPECT_FLOAT_EQ(corner->position[2], normal[2] * depth / 2);
            }
        }
        const double normalZ = corners[0]->normal[2];
        (normalZ == 1.0 ? front : normalZ == -1.0 ? back : wall) += Length(face) / 2;
    }
    // Every edge is met once each way: no crack, no flipped or doubled triangle. A closed surface
    // wound consistently encloses a positive volume only when it is wound outwards.
    for (const auto& [edge, count] : edges) {
        ASSERT_EQ(count, 1) << "an edge is used twice the same way";
        ASSERT_EQ(edges.count({edge.second, edge.first}), 1u) << "an edge borders one triangle only";
    }
    EXPECT_NEAR(volume, front * depth, 1e-6);

    // The straight pieces stray at most the tolerance from the curves, so the filled area is off
    // by no more than the outline's length (the walls' area over the depth) times the tolerance.
    // A hole filled in would be off by its own area.
    double exact = 0;
    for (const char32_t c : std::u32string(U"O8Ba"))
        exact += MeasureGlyph(c).area;
    exact *= std::pow(CapScale(height), 2);
    EXPECT_NEAR(front, exact, wall / depth * tolerance);
    EXPECT_NEAR(back, front, 1e-9);
}

TEST_F(TextmeshTest, TheLineStartsAtThePenOriginOnTheBaselineWithCapitalsHeightTall)
{
    const XMesh mesh = Generate({"--text", "H", "--height", "0.3", "--depth", "0.05"});
    const Glyph h = MeasureGlyph(U'H');
    const double scale = CapScale(0.3), advance = double(h.advance) * scale;
    std::array<float, 3> least{1e9f, 1e9f, 1e9f}, most{-1e9f, -1e9f, -1e9f};
    for (const XMeshVertex& v : mesh.vertices) {
        for (int k = 0; k < 3; ++k) {
            least[k] = std::min(least[k], v.position[k]);
            most[k] = std::max(most[k], v.position[k]);
        }
        EXPECT_NEAR(v.texCoord[0], v.position[0] / advance, 1e-5);
        EXPECT_NEAR(v.texCoord[1], 1.0 - v.position[1] / 0.3, 1e-5);
    }
    EXPECT_NEAR(least[0], h.box.xMin * scale, 1e-5);
    EXPECT_NEAR(most[0], h.box.xMax * scale, 1e-5);
    EXPECT_NEAR(least[1], 0.0, 1e-5);
    EXPECT_NEAR(most[1], 0.3, 1e-5);
    EXPECT_FLOAT_EQ(least[2], -0.025f);
    EXPECT_FLOAT_EQ(most[2], 0.025f);

    // Characters follow one another by their advances, closer where the font kerns the pair.
    const auto advanceOf = [](const std::string& text) {
        const ToolRun run = Invoke(QL_TEXTMESH, {"--font", Font, "--text", text, "-o", "stats.x", "--stats"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return std::stod(run.out.substr(run.out.find("advance ") + 8));
    };
    EXPECT_NEAR(advanceOf("H"), double(h.advance) * CapScale(0.22), 1e-6);
    EXPECT_NEAR(advanceOf("H H"), (2 * double(h.advance) + double(MeasureGlyph(U' ').advance)) * CapScale(0.22), 1e-6);
    EXPECT_LT(advanceOf("AV"), advanceOf("A") + advanceOf("V") - 0.005);
}

TEST_F(TextmeshTest, TheTextFileFormGivesTheSameBytesAsTheTextItself)
{
    WriteText("lines.txt", "# the scroller\n\nFIRST LINE\n   \n  # indented comment\r\nSECOND  ...  LINE!\r\nthird\n");
    ASSERT_EQ(Invoke(QL_TEXTMESH, {"--font", Font, "--text-file", "lines.txt", "--line", "2", "-o", "a.x"}).exitCode, 0);
    ASSERT_EQ(Invoke(QL_TEXTMESH, {"--font", Font, "--text", "SECOND  ...  LINE!", "-o", "b.x"}).exitCode, 0);
    const std::string mesh = ReadText("a.x");
    EXPECT_EQ(mesh.rfind("xof 0303txt 0032\n", 0), 0u);
    EXPECT_EQ(mesh, ReadText("b.x"));
    EXPECT_EQ(mesh.find("-0.000000"), std::string::npos);
}

TEST_F(TextmeshTest, BadInputIsRefusedNamingTheFileAndTheFault)
{
    WriteText("lines.txt", "# two lines\nONE\nTWO\n");
    WriteText("bad.txt", "caf\xC3(\n");
    WriteText("notes.ttf", "this is not a font\n");
    const auto make = [](std::vector<std::string> args) {
        args.insert(args.end(), {"-o", "out.x"});
        return args;
    };
    ExpectRefused(make({"--font", Font, "--text", "A\xE6\xBC\xA2"}), Font + ": the font has no character U+6F22 ('\xE6\xBC\xA2')");
    ExpectRefused(make({"--font", "notes.ttf", "--text", "A"}), "notes.ttf: not a font file FreeType can read: invalid stream operation");
    ExpectRefused(make({"--font", "missing.ttf", "--text", "A"}), "Could not open \"missing.ttf\"");
    ExpectRefused(make({"--font", Font, "--text", ""}), "--text: the text is empty");
    ExpectRefused(make({"--font", Font, "--text", "   "}), "--text: the text has nothing to draw, only blanks");
    ExpectRefused(make({"--font", Font, "--text-file", "bad.txt", "--line", "1"}),
                  "bad.txt:1: invalid UTF-8 at byte 4: the character is cut short");
    ExpectRefused(make({"--font", Font, "--text-file", "lines.txt", "--line", "3"}),
                  "lines.txt: has 2 lines of text, not 3");
    ExpectRefused(make({"--font", Font, "--text", "A", "--depth", "0"}),
                  "bad --depth '0': expected a number above 0 up to 1000");
    ExpectRefused(make({"--font", Font, "--text", "A", "--tolerance", "0.1"}),
                  "bad --tolerance '0.1': expected a number from 2.2e-05 up to 0.022");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--text", "A", "-o", "out.x"},
             {"--font", Font, "--text", "A"},
             {"--font", Font, "-o", "out.x"},
             {"--font", Font, "--text", "A", "--text-file", "lines.txt", "--line", "1", "-o", "out.x"},
             {"--font", Font, "--text", "A", "--line", "1", "-o", "out.x"},
             {"--font", Font, "--text", "A", "--size", "1", "-o", "out.x"},
             {"--font", Font, "--text", "A", "extra", "-o", "out.x"}}) {
        const ToolRun run = Invoke(QL_TEXTMESH, args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("Try 'textmesh --help'."), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists("out.x"));
    const ToolRun help = Invoke(QL_TEXTMESH, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: textmesh --font FONT --text TEXT -o FILE [options]\n", 0), 0u);
}

} // namespace
