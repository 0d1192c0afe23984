// textmesh: makes a solid 3D mesh of one line of text in an outline font and writes it as a text
// ".x" file, the same bytes on every run.
#include "CommandLine.h"
#include "Facts.h"
#include "FilledArea.h"
#include "KeyText.h"
#include "TextOutline.h"
#include "TextSolid.h"
#include "TextSource.h"
#include "ToolMain.h"
#include "XFileText.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Platform/D3DX/XMeshLoader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

const ToolInfo Tool{"textmesh", R"(Usage: textmesh --font FONT --text TEXT -o FILE [options]
       textmesh --font FONT --text-file TEXTFILE --line N -o FILE [options]

Makes a solid mesh of one line of text in a TrueType or OpenType font and writes it as a text .x
file (xof 0303txt 0032): vertices, faces, normals, texture coordinates and one white material.
The same input always gives the same bytes.

Layout: the text reads left to right along +x seen from +z, with y up. The pen origin of the
first character is at x = 0 and the baseline at y = 0; capital letters are HEIGHT tall (the
height of the font's 'H' sets the scale). Characters are placed by their advances and the
font's kerning table where it has one; spaces advance the pen, leading and trailing ones too.
Curves are cut into straight pieces that stray at most TOLERANCE from them, and the filled area
follows the font's fill rule, so holes (O, A, B, 8 ...) stay open.

Solid: the front face lies in z = +DEPTH/2 facing +z, the back face in z = -DEPTH/2 facing -z;
side walls along every contour face outwards, smooth where the contour turns by less than 40
degrees at a point and creased where it turns more. Every triangle (a, b, c) is wound so that
(b - a) x (c - a) points out of the solid, along its normals. Texture coordinates, on every
face: u = x / ADVANCE (ADVANCE: where the pen stands after the last character), v = 1 - y /
HEIGHT, so (0, 0) is the top left of the capitals at the start of the line.

Options:
  --font FONT         the font file (required)
  --text TEXT         the text, in UTF-8
  --text-file FILE    take the text from a UTF-8 text file, with --line
  --line N            the Nth line of FILE that holds text, from 1; blank lines and lines whose
                      first non-blank character is '#' do not count
  --facts FACTS       fill the text's {key} and {key:upper} with the facts of the file FACTS,
                      one "key = value" a line (Data/README.md, "The invitation")
  -o FILE             where to write the mesh (required); it is written beside FILE under
                      another name and renamed to FILE once complete
  --height HEIGHT     capital height in world units (default 0.22)
  --depth DEPTH       thickness along z (default 0.04)
  --tolerance T       how far straight pieces may stray from the curves (default 0.0005), from
                      HEIGHT / 10000 to HEIGHT / 10
  --stats             print the line's advance, how far its ink reaches along x and the
                      counts of vertices and triangles
  --help              show this help

Sizes are numbers above 0 and up to 1000. Exit status: 0 on success, 1 on bad input (a font or
text file that cannot be read or holds a fault, a character the font lacks, a text with nothing
to draw, a bad number, a mesh too large for the engine's loader), 2 on a usage error.
)"};

constexpr double MaxSize = 1000.0;

double ParseNumber(const CommandLine& line, const std::string& option, double fallback, double least, double most)
{
    if (!line.Has(option))
        return fallback;
    const std::string& text = line.Value(option);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < least || value > most || value <= 0.0)
        throw InputError{"bad " + option + " '" + text + "': expected a number " +
                         (least > 0.0 ? "from " + FormatFloat(float(least)) : std::string("above 0")) + " up to " +
                         FormatFloat(float(most))};
    return value;
}

void MakeTextMesh(const std::vector<std::string>& args)
{
    const CommandLine line(
        args, {"--font", "--text", "--text-file", "--line", "--facts", "-o", "--height", "--depth", "--tolerance"},
        {"--stats"});
    line.Operands(0, "no arguments besides the options");
    const std::string& fontPath = line.Value("--font");
    const std::string& output = line.Value("-o");
    if (line.Has("--text") == line.Has("--text-file"))
        throw UsageError{"give the text with either --text or --text-file"};
    if (line.Has("--text-file") != line.Has("--line"))
        throw UsageError{line.Has("--line") ? "--line needs --text-file" : "--text-file needs --line"};

    TextLine source{"", "--text"};
    if (line.Has("--text")) {
        source.text = line.Value("--text");
    } else {
        const std::string& number = line.Value("--line");
        const std::optional<uint32_t> lineNumber = ParseUint32(number);
        if (!lineNumber || *lineNumber == 0)
            throw InputError{"bad --line '" + number + "': expected a whole number from 1"};
        source = ReadTextLine(line.Value("--text-file"), *lineNumber);
    }
    if (line.Has("--facts"))
        source.text = Facts::Read(line.Value("--facts")).Fill(source.text, source.where);
    const std::u32string text = DecodeUtf8(source.text, source.where);
    if (text.empty())
        throw InputError{source.where + ": the text is empty"};

    const double height = ParseNumber(line, "--height", 0.22, 0.0, MaxSize);
    const double depth = ParseNumber(line, "--depth", 0.04, 0.0, MaxSize);
    const double tolerance = ParseNumber(line, "--tolerance", 0.0005, height / 10000, height / 10);

    const TextOutline outline = OutlineText(fontPath, text, height, tolerance);
    const FilledArea area = FillOutline(outline.contours, outline.evenOdd, outline.grid);
    if (area.triangles.empty())
        throw InputError{source.where + ": the text has nothing to draw, only blanks"};
    if (outline.advance <= 0.0)
        throw InputError{source.where + ": the text does not advance the pen, so it has no length to map u along"};
    const ShapeMesh mesh = MakeTextSolid(area, {depth, outline.advance, height});
    const std::string meshText = XFileText(mesh);
    if (meshText.size() > MaxXFileSize)
        RefuseFile(output, "the mesh would take " + std::to_string(meshText.size()) +
                               " bytes, more than the engine's loader reads (" + std::to_string(MaxXFileSize) +
                               "); use a shorter text or a larger --tolerance");
    WriteWholeFile(output, std::vector<unsigned char>(meshText.begin(), meshText.end()));

    if (line.Has("--stats")) {
        const auto [left, right] = std::minmax_element(mesh.positions.begin(), mesh.positions.end(),
                                                       [](const auto& a, const auto& b) { return a[0] < b[0]; });
        std::cout << output << ": advance " << FormatFloat(float(outline.advance)) << ", ink from x = "
                  << FormatFloat((*left)[0]) << " to " << FormatFloat((*right)[0]) << ", " << mesh.positions.size()
                  << " vertices, " << mesh.triangles.size() << " triangles\n";
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, MakeTextMesh);
}
