// meshgen: writes the primitive meshes of the show (box, cube, bevelled cube, plane, sphere) as text
// ".x" files, the same bytes on every run.
#include "CommandLine.h"
#include "KeyText.h"
#include "Shapes.h"
#include "ToolMain.h"
#include "XFileText.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr uint32_t MaxDivisions = 256;
constexpr float MaxSize = 1e6f;
constexpr uint32_t MaxBevelSegments = 64;

const ToolInfo Tool{"meshgen", R"(Usage: meshgen box WIDTH HEIGHT DEPTH -o FILE
       meshgen cube -o FILE
       meshgen bevelcube RADIUS SEGMENTS -o FILE
       meshgen plane WIDTH DEPTH SUBDIVISIONS -o FILE
       meshgen sphere SEGMENTS RINGS -o FILE

Writes one mesh, centred on the origin, as a text .x file (xof 0303txt 0032): vertices, faces,
normals, texture coordinates and one white material.

Shapes:
  box      WIDTH along x, HEIGHT along y, DEPTH along z; 24 vertices, 12 triangles, sides in
           the cube-face order +X, -X, +Y, -Y, +Z, -Z, each with the whole texture
  cube     the box 1 1 1
  bevelcube
           the box 1 1 1 with its edges and corners rounded to RADIUS (above 0, below 0.5) in
           SEGMENTS steps a quarter turn (2 to 64); smooth normals
  plane    in y = 0 facing +y, WIDTH along x, DEPTH along z, cut into SUBDIVISIONS squares a side
           (1 to 256); u grows with x, v with z
  sphere   radius 1, SEGMENTS around the y axis (3 to 256) and RINGS from the pole at +y to the
           pole at -y (2 to 256); v = 0 at +y

Sizes are numbers above 0 and up to 1000000. Every triangle (a, b, c) is wound so that
(b - a) x (c - a) points out of the shape, along its normals (clockwise seen from outside in a
left-handed view). Texture coordinates: (0, 0) is the top left of the texture.

Options:
  -o FILE   where to write the mesh (required)
  --help    show this help

Prints nothing on success. Exit status: 0 on success, 1 when FILE cannot be written, 2 on a usage
error.
)"};

// A number above 0 and up to most, or below most when that bound is open.
float ParseNumber(const std::string& text, const char* what, float most, bool openBound, const std::string& expected)
{
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0.0f || value > most || (openBound && value == most))
        throw UsageError{std::string("bad ") + what + " '" + text + "': expected " + expected};
    return value;
}

float ParseSize(const std::string& text, const char* what)
{
    return ParseNumber(text, what, MaxSize, false, "a number above 0 and up to 1000000");
}

uint32_t ParseDivisions(const std::string& text, const char* what, uint32_t least, uint32_t most = MaxDivisions)
{
    const std::optional<uint32_t> value = ParseUint32(text);
    if (!value || *value < least || *value > most)
        throw UsageError{std::string("bad ") + what + " '" + text + "': expected a whole number from " +
                         std::to_string(least) + " to " + std::to_string(most)};
    return *value;
}

ShapeMesh MakeShape(const std::vector<std::string>& operands)
{
    if (operands.empty())
        throw UsageError{"no shape given: expected box, cube, bevelcube, plane or sphere"};
    const std::string& shape = operands[0];
    const auto expect = [&](size_t count, const char* form) {
        if (operands.size() != count + 1)
            throw UsageError{shape + " takes " + form};
    };
    if (shape == "box") {
        expect(3, "WIDTH HEIGHT DEPTH");
        return MakeBox(ParseSize(operands[1], "width"), ParseSize(operands[2], "height"),
                       ParseSize(operands[3], "depth"));
    }
    if (shape == "cube") {
        expect(0, "no sizes");
        return MakeBox(1.0f, 1.0f, 1.0f, "Cube");
    }
    if (shape == "bevelcube") {
        expect(2, "RADIUS SEGMENTS");
        return MakeBevelCube(ParseNumber(operands[1], "radius", 0.5f, true, "a number above 0 and below 0.5"),
                             ParseDivisions(operands[2], "segments", 2, MaxBevelSegments));
    }
    if (shape == "plane") {
        expect(3, "WIDTH DEPTH SUBDIVISIONS");
        return MakePlane(ParseSize(operands[1], "width"), ParseSize(operands[2], "depth"),
                         ParseDivisions(operands[3], "subdivisions", 1));
    }
    if (shape == "sphere") {
        expect(2, "SEGMENTS RINGS");
        return MakeSphere(ParseDivisions(operands[1], "segments", 3), ParseDivisions(operands[2], "rings", 2));
    }
    throw UsageError{"unknown shape '" + shape + "': expected box, cube, bevelcube, plane or sphere"};
}

// The shape decides how many operands follow it, and CommandLine hands them out by count only.
std::vector<std::string> AllOperands(const CommandLine& line)
{
    for (size_t count = 0; count <= 4; ++count) {
        try {
            return line.Operands(count, "");
        } catch (const UsageError&) {
        }
    }
    throw UsageError{"too many arguments"};
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, [](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o"}, {});
        const std::string& output = line.Value("-o");
        const std::string text = XFileText(MakeShape(AllOperands(line)));

        WriteWholeFile(output, std::vector<unsigned char>(text.begin(), text.end()));
    });
}
