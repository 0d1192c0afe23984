// The cards' text step, run as the data build runs it, on the show's font: textcard's picture,
// decoded by the engine, holds each line's text exactly where FreeType's own measure of the line
// puts it; a date changed in the facts changes the picture there and nowhere else; faults of the
// facts and of the card are refused with the file and line named. textmesh fills the same facts
// into the scroller's lines, and README.md names the party, its dates and its place as
// Data/invitation.txt has them.
#include "Facts.h"
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include "Platform/D3DX/ImageDecoder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

const std::string Font = QL_CARD_FONT;
constexpr uint32_t Width = 1024;
constexpr uint32_t Height = 576;

struct Box {
    double left, right, top, bottom; // pixels of the card, y down
};

// Where a line's ink lies on the card, measured by FreeType alone: the glyphs' exact outline
// boxes, unscaled, placed by their advances and kerning, scaled so that 'H' is capitals x the
// card's height tall and centred across the card.
Box LineBox(const std::u32string& text, double baseline, double capitals)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Box box{0, 0, 0, 0};
    if (FT_Init_FreeType(&library) || FT_New_Face(library, Font.c_str(), 0, &face)) {
        ADD_FAILURE() << "FreeType cannot read " << Font;
        FT_Done_FreeType(library);
        return box;
    }
    const auto outlineBox = [&](char32_t c) {
        FT_BBox bounds{};
        EXPECT_EQ(FT_Load_Char(face, c, FT_LOAD_NO_SCALE), 0);
        FT_Outline_Get_BBox(&face->glyph->outline, &bounds);
        return bounds;
    };
    const double scale = capitals * Height / double(outlineBox(U'H').yMax);
    double left = INFINITY, right = -INFINITY, top = -INFINITY, bottom = INFINITY;
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (const char32_t c : text) {
        const FT_UInt index = FT_Get_Char_Index(face, c);
        FT_Vector kerning{0, 0};
        if (previous != 0)
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNSCALED, &kerning);
        pen += kerning.x;
        const FT_BBox bounds = outlineBox(c);
        if (face->glyph->outline.n_points > 0) {
            left = std::min(left, double(pen + bounds.xMin));
            right = std::max(right, double(pen + bounds.xMax));
            top = std::max(top, double(bounds.yMax));
            bottom = std::min(bottom, double(bounds.yMin));
        }
        pen += face->glyph->advance.x;
        previous = index;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    const double width = (right - left) * scale;
    return {(Width - width) / 2, (Width + width) / 2, baseline * Height - top * scale, baseline * Height - bottom * scale};
}

bool Inside(const Box& box, uint32_t x, uint32_t y, double margin)
{
    return x + 1 > box.left - margin && x < box.right + margin && y + 1 > box.top - margin && y < box.bottom + margin;
}

// The card's ink inside a box: its extent (pixels with any alpha) and the share of pixels it
// covers wholly.
struct Ink {
    Box extent{INFINITY, -INFINITY, INFINITY, -INFINITY};
    double solid = 0.0;
};

Ink InkWithin(const CpuImage& card, const Box& box)
{
    Ink ink;
    size_t solid = 0, pixels = 0;
    for (uint32_t y = 0; y < card.height; ++y)
        for (uint32_t x = 0; x < card.width; ++x) {
            if (!Inside(box, x, y, 2.0))
                continue;
            ++pixels;
            const uint8_t alpha = card.Texel(x, y)[3];
            solid += alpha == 255;
            if (alpha == 0)
                continue;
            ink.extent = {std::min(ink.extent.left, double(x)), std::max(ink.extent.right, double(x + 1)),
                          std::min(ink.extent.top, double(y)), std::max(ink.extent.bottom, double(y + 1))};
        }
    ink.solid = pixels ? double(solid) / double(pixels) : 0.0;
    return ink;
}

} // namespace

class TextcardTest : public ArchiveFixture {
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

    // The card of card.txt with the facts of facts.txt, decoded as the show decodes it.
    CpuImage Render(const std::string& output)
    {
        const ToolRun run = Invoke(QL_TEXTCARD, {"--font", Font, "--facts", "facts.txt", "--card", "card.txt", "-o",
                                                 output, "--size", std::to_string(Width) + "x" + std::to_string(Height)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        const std::string png = ReadText(output);
        return DecodeImage(png.data(), png.size());
    }
};

TEST_F(TextcardTest, EachLineLiesWhereFreeTypeMeasuresItAndADateChangesOnlyItsOwnLine)
{
    WriteText("facts.txt", "# the party\nparty = Kindlemoot 2027\ndates  =  20–22 August 2027  \n");
    WriteText("card.txt", "# baseline capitals text\n0.40 0.072 {party}\n\n0.55 0.04 on {dates}\n");
    const CpuImage card = Render("first.png");
    ASSERT_EQ(card.width, Width);
    ASSERT_EQ(card.height, Height);
    Render("again.png");
    EXPECT_EQ(ReadText("first.png"), ReadText("again.png")) << "the same input, the same bytes";

    const Box party = LineBox(U"Kindlemoot 2027", 0.40, 0.072);
    const Box dates = LineBox(U"on 20–22 August 2027", 0.55, 0.04);
    for (const auto& [line, box] : {std::pair{"party", party}, {"dates", dates}}) {
        const Ink ink = InkWithin(card, box);
        // Antialiasing may leave the outermost pixel row of a side empty or touch one beyond it.
        EXPECT_NEAR(ink.extent.left, box.left, 1.0) << line;
        EXPECT_NEAR(ink.extent.right, box.right, 1.0) << line;
        EXPECT_NEAR(ink.extent.top, box.top, 1.0) << line;
        EXPECT_NEAR(ink.extent.bottom, box.bottom, 1.0) << line;
        EXPECT_GT(ink.solid, 0.15) << line << ": the bold text covers much of its box wholly";
    }
    size_t strays = 0, notWhite = 0;
    for (uint32_t y = 0; y < Height; ++y)
        for (uint32_t x = 0; x < Width; ++x) {
            const uint8_t* texel = card.Texel(x, y);
            strays += texel[3] != 0 && !Inside(party, x, y, 1.0) && !Inside(dates, x, y, 1.0);
            notWhite += texel[0] != 255 || texel[1] != 255 || texel[2] != 255;
        }
    EXPECT_EQ(strays, 0u) << "pixels of text outside the lines' boxes";
    EXPECT_EQ(notWhite, 0u) << "the text is the alpha of a white card";

    WriteText("facts.txt", "party = Kindlemoot 2027\ndates = 20–23 August 2027\n");
    const CpuImage changed = Render("changed.png");
    size_t inDates = 0, elsewhere = 0;
    for (uint32_t y = 0; y < Height; ++y)
        for (uint32_t x = 0; x < Width; ++x)
            if (card.Texel(x, y)[3] != changed.Texel(x, y)[3])
                ++(Inside(dates, x, y, 1.0) ? inDates : elsewhere);
    EXPECT_GT(inDates, 100u) << "the new date shows";
    EXPECT_EQ(elsewhere, 0u) << "nothing but the dates' line changes";
}

TEST_F(TextcardTest, FaultsOfTheFactsAndOfTheCardAreRefusedWithTheirFileAndLine)
{
    struct Case {
        std::string facts, card, message;
        std::vector<std::string> extra{};
        int exitCode = 1;
    };
    const Box tooLong = LineBox(U"K is far too long", 0.5, 0.4);
    const Case cases[] = {
        {"party = K\n", "0.5 0.1 {venue}\n", "card.txt:1: {venue}: facts.txt has no fact 'venue'"},
        {"party = K\n", "0.5 0.1 {party:lower}\n", "card.txt:1: {party:lower}: unknown form 'lower': the only one is 'upper'"},
        {"party = K\n", "0.5 0.1 {party\n", "card.txt:1: a '{' with no '}' after it"},
        {"party = K\n", "0.5 0.1 party}\n", "card.txt:1: a '}' with no '{' before it"},
        {"party = K\nparty = L\n", "0.5 0.1 {party}\n", "facts.txt:2: the fact 'party' is given twice"},
        {"# c\nparty: K\n", "0.5 0.1 {party}\n", "facts.txt:2: expected 'key = value'"},
        {"Party = K\n", "0.5 0.1 {party}\n",
         "facts.txt:1: bad key 'Party': expected a lower-case letter, then lower-case letters, digits or '_'"},
        {"party =\n", "0.5 0.1 {party}\n", "facts.txt:1: the fact 'party' is empty"},
        {"party = K\n", "half 0.1 {party}\n", "card.txt:1: bad baseline 'half': expected a number"},
        {"party = K\n", "0.5 2 {party}\n", "card.txt:1: capital height 2 is not a share of the card's height (0 to 1)"},
        {"party = K\n", "0.5 0.1\n", "card.txt:1: expected BASELINE CAPITALS TEXT, and the text is missing"},
        {"party = K\n", "0.5 0.1    \n", "card.txt:1: expected BASELINE CAPITALS TEXT, and the text is missing"},
        {"party = K\n", "0.5 0.1 \xE2\x82\n", "card.txt:1: invalid UTF-8 at byte 1: the character is cut short"},
        {"party = K\n", "0.5 0.1 {party} \xE4\xB8\x80\n", Font + ": the font has no character U+4E00 ('\xE4\xB8\x80')"},
        {"party = K\n", "0.5 0.4 {party} is far too long\n",
         "card.txt:1: the line is " + std::to_string(std::lround(tooLong.right - tooLong.left)) +
             " pixels wide, wider than the width of the 1024x576 card"},
        {"party = K\n", "0.05 0.1 {party}\n", "card.txt:1: the line reaches above the top of the 1024x576 card"},
        {"party = K\n", "0.5 0.1 {party}\n", "bad --size '1024x9000': expected WxH from 16x16 to 8192x8192\n"
                                             "Try 'textcard --help'.", {"--size", "1024x9000"}, 2},
    };
    for (const Case& c : cases) {
        WriteText("facts.txt", c.facts);
        WriteText("card.txt", c.card);
        std::vector<std::string> args{"--font", Font, "--facts", "facts.txt", "--card", "card.txt", "-o", "card.png"};
        if (c.extra.empty())
            args.insert(args.end(), {"--size", "1024x576"});
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ToolRun run = Invoke(QL_TEXTCARD, args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.card;
        EXPECT_EQ(run.err, "textcard: " + c.message + "\n");
        EXPECT_FALSE(std::filesystem::exists("card.png")) << c.message;
    }
}

TEST_F(TextcardTest, TextmeshFillsTheSameFactsIntoTheScrollersLines)
{
    WriteText("facts.txt", "party = Kindlemoot 2027\nplace = Café Øst\n");
    const auto mesh = [&](const std::vector<std::string>& text) {
        std::vector<std::string> args{"--font", Font, "-o", "line.x"};
        args.insert(args.end(), text.begin(), text.end());
        const ToolRun run = Invoke(QL_TEXTMESH, args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return ReadText("line.x");
    };
    WriteText("lines.txt", "# a scroller\nSEE YOU AT {party:upper} IN {place:upper}!\n");
    EXPECT_EQ(mesh({"--text-file", "lines.txt", "--line", "1", "--facts", "facts.txt"}),
              mesh({"--text", "SEE YOU AT KINDLEMOOT 2027 IN CAFÉ ØST!"}));

    WriteText("lines.txt", "SEE YOU AT {venue}!\n");
    const ToolRun refused = Invoke(QL_TEXTMESH, {"--font", Font, "--text-file", "lines.txt", "--line", "1", "--facts",
                                                 "facts.txt", "-o", "line.x"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "textmesh: lines.txt:1: {venue}: facts.txt has no fact 'venue'\n");
}

TEST(InvitationTest, TheReadmeNamesThePartyItsDatesAndItsPlaceAsTheFactsHaveThem)
{
    const Facts facts = Facts::Read(QL_SOURCE_DIR "Data/invitation.txt");
    const std::string readme = ReadText(QL_SOURCE_DIR "README.md");
    for (const char* key : {"party", "dates", "place"})
        EXPECT_NE(readme.find(facts.Value(key)), std::string::npos)
            << "README.md does not name the " << key << " \"" << facts.Value(key) << "\" of Data/invitation.txt";
}
