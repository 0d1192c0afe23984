// textcard: renders a card of text (the show's title and closing cards) into a PNG picture whose
// alpha is the text, the same bytes on every run.
#include "Card.h"
#include "CommandLine.h"
#include "Facts.h"
#include "FontFace.h"
#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/PixelSize.h"
#include "Platform/D3DX/ImageDecoder.h"

#include <stb/stb_image_write.h>

namespace {

constexpr uint32_t DefaultWidth = 2048;
constexpr uint32_t DefaultHeight = 1152;
// A card must load where the show reads it, through the image decoder.
constexpr PixelSizeLimits CardSizes{.widest = MaxImageSide, .tallest = MaxImageSide};

const ToolInfo Tool{"textcard", R"(Usage: textcard --font FONT --facts FACTS --card CARD -o FILE [--size WxH]
       textcard --font FONT --glyphs -o FILE

Renders the lines of text of the card file CARD, their facts filled in from the file FACTS, in a
TrueType or OpenType font into a PNG picture of the card: every pixel white, its alpha how much
of it the text covers (antialiased, 256 levels). The same input always gives the same bytes.

The card stands for the whole picture of the show. Each line of CARD is

  BASELINE CAPITALS TEXT

BASELINE: where the line's baseline lies, from the card's top, as a share of its height (0 to
1); CAPITALS: the height of its capital letters as a share of the card's height (the font's 'H'
sets the scale); TEXT: the rest of the line, in UTF-8, in which {key} stands for the fact key of
FACTS and {key:upper} for it in capitals. Each line is centred across the card by its ink and
must lie wholly on the card. Blank lines and lines starting with '#' do not count.

FACTS holds one "key = value" a line (Data/README.md, "The invitation").

With --glyphs it renders the glyph atlas of the player's overlay instead: the printable ASCII
characters (32 to 126) in 16 columns and 6 rows of 32x32 cells, character c in cell c - 32 counted
row by row from the top left, each glyph centred across its cell by its ink, its capitals 14
pixels tall on a baseline 23 pixels from the cell's top (the space's cell stays empty).

Options:
  --font FONT      the font file (required)
  --glyphs         the overlay's glyph atlas instead of a card
  --facts FACTS    the facts file (required)
  --card CARD      the card file (required)
  -o FILE          where to write the PNG (required)
  --size WxH       the card's size in pixels (default 2048x1152: the show's 16:9 picture, so
                   that a 1920x1080 picture never magnifies it), )" + CardSizes.Text() + R"(
  --help           show this help

Exit status: 0 on success, 1 on bad input (a file that cannot be read or holds a fault, a fact
that is missing, a character the font lacks, a line that leaves the card), 2 on a usage error.
)"};

// The card as PNG bytes: white everywhere, so that filtering never darkens the text's edges, with
// the coverage as alpha.
std::vector<unsigned char> EncodePng(const Coverage& card, const std::string& path)
{
    std::vector<unsigned char> rgba(card.values.size() * 4, 255);
    for (size_t i = 0; i < card.values.size(); ++i)
        rgba[i * 4 + 3] = card.values[i];
    std::vector<unsigned char> png;
    const auto append = [](void* context, void* data, int size) {
        auto& bytes = *static_cast<std::vector<unsigned char>*>(context);
        bytes.insert(bytes.end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    };
    const int width = static_cast<int>(card.width);
    if (!stbi_write_png_to_func(append, &png, width, static_cast<int>(card.height), 4, rgba.data(), width * 4))
        RefuseFile(path, "the picture could not be encoded as PNG");
    return png;
}

// The overlay's atlas: each character a one-line card of its cell's size, copied into its cell.
Coverage RenderGlyphAtlas(const FontFace& font)
{
    constexpr uint32_t Cell = 32, Columns = 16, Rows = 6;
    Coverage atlas{Cell * Columns, Cell * Rows, std::vector<uint8_t>(Cell * Columns * Cell * Rows, 0)};
    for (char32_t c = 33; c < 127; ++c) {
        const std::string name = "the glyph " + CharacterName(c);
        const Coverage glyph = RenderCard(font, {CardLine{23.0 / Cell, 14.0 / Cell, std::u32string(1, c), name}}, Cell, Cell);
        const uint32_t cell = static_cast<uint32_t>(c - 32);
        const uint32_t left = cell % Columns * Cell, top = cell / Columns * Cell;
        for (uint32_t y = 0; y < Cell; ++y)
            std::copy_n(glyph.values.begin() + y * Cell, Cell, atlas.values.begin() + (top + y) * atlas.width + left);
    }
    return atlas;
}

void MakeTextCard(const std::vector<std::string>& args)
{
    const CommandLine line(args, {"--font", "--facts", "--card", "-o", "--size"}, {"--glyphs"});
    line.Operands(0, "no arguments besides the options");
    if (line.Has("--glyphs")) {
        const std::string& output = line.Value("-o");
        const FontFace font(line.Value("--font"));
        WriteWholeFile(output, EncodePng(RenderGlyphAtlas(font), output));
        return;
    }
    const std::string& fontPath = line.Value("--font");
    const std::string& factsPath = line.Value("--facts");
    const std::string& cardPath = line.Value("--card");
    const std::string& output = line.Value("-o");
    uint32_t width = DefaultWidth, height = DefaultHeight;
    if (line.Has("--size")) {
        const std::string& text = line.Value("--size");
        try {
            const PixelSize size = ParsePixelSize(text, CardSizes);
            width = size.width;
            height = size.height;
        } catch (const PixelSizeError& e) {
            throw UsageError{"bad --size '" + text + "': " + e.what()};
        }
    }

    const Facts facts = Facts::Read(factsPath);
    const std::vector<CardLine> lines = ReadCard(cardPath, facts);
    const FontFace font(fontPath);
    WriteWholeFile(output, EncodePng(RenderCard(font, lines, width, height), output));
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, MakeTextCard);
}
