#include "Card.h"

#include "TextSource.h"
#include "ToolMain.h"

#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The leading number of text from at on, and where the blanks after it end.
double Number(const std::string& text, size_t& at, const std::string& what, const std::string& where)
{
    const size_t start = text.find_first_not_of(" \t", at);
    if (start == std::string::npos)
        throw InputError{where + ": expected BASELINE CAPITALS TEXT, and the " + what + " is missing"};
    const size_t end = std::min(text.find_first_of(" \t", start), text.size());
    const std::string field = text.substr(start, end - start);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || stop != field.data() + field.size() || !std::isfinite(value))
        throw InputError{where + ": bad " + what + " '" + field + "': expected a number"};
    if (value < 0.0 || value > 1.0)
        throw InputError{where + ": " + what + " " + field + " is not a share of the card's height (0 to 1)"};
    at = end;
    return value;
}

struct InkBox {
    double left, right, bottom, top; // font units from the pen origin of the line, y up
};

InkBox MeasureInk(const FontFace& font, const LineLayout& layout, const std::string& where)
{
    InkBox ink{INFINITY, -INFINITY, INFINITY, -INFINITY};
    for (const PlacedGlyph& glyph : layout.glyphs) {
        const FT_Outline& outline = font.Outline(glyph.character);
        if (outline.n_points == 0)
            continue; // a blank
        FT_BBox box;
        FT_Outline_Get_BBox(const_cast<FT_Outline*>(&outline), &box);
        ink.left = std::min(ink.left, double(glyph.penX + box.xMin));
        ink.right = std::max(ink.right, double(glyph.penX + box.xMax));
        ink.bottom = std::min(ink.bottom, double(box.yMin));
        ink.top = std::max(ink.top, double(box.yMax));
    }
    if (ink.left > ink.right)
        throw InputError{where + ": the text has nothing to draw, only blanks"};
    return ink;
}

// FreeType's rasteriser hands over the covered runs of each row (y up from the bottom); several
// glyphs may touch one pixel, and the most any of them covers is what shows.
void CoverSpans(int y, int count, const FT_Span* spans, void* user)
{
    Coverage& card = *static_cast<Coverage*>(user);
    uint8_t* row = &card.values[size_t(card.height - 1 - uint32_t(y)) * card.width];
    for (int i = 0; i < count; ++i)
        for (int x = spans[i].x; x < spans[i].x + spans[i].len; ++x)
            row[x] = std::max<uint8_t>(row[x], spans[i].coverage);
}

struct OutlineDone {
    FT_Library library;
    FT_Outline* outline;
    ~OutlineDone() { FT_Outline_Done(library, outline); }
};

// Fills the glyph's outline, scaled by scale from font units and moved by (x, y) pixels (y up from
// the card's bottom), into the card.
void RenderGlyph(const FontFace& font, char32_t c, double scale, double x, double y, Coverage& card)
{
    const FT_Outline& source = font.Outline(c);
    FT_Outline placed{};
    if (const FT_Error error = FT_Outline_New(font.Library(), source.n_points, source.n_contours, &placed))
        throw InputError{"cannot copy the outline of " + CharacterName(c) + ": " + FreeTypeFault(error)};
    const OutlineDone done{font.Library(), &placed};
    FT_Outline_Copy(&source, &placed);
    // The rasteriser takes 26.6 fixed point: 64ths of a pixel.
    for (int i = 0; i < placed.n_points; ++i) {
        FT_Vector& p = placed.points[i];
        p.x = std::lround((double(p.x) * scale + x) * 64.0);
        p.y = std::lround((double(p.y) * scale + y) * 64.0);
    }
    FT_Raster_Params params{};
    params.source = &placed;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = CoverSpans;
    params.user = &card;
    params.clip_box = {0, 0, FT_Pos(card.width), FT_Pos(card.height)};
    if (const FT_Error error = FT_Outline_Render(font.Library(), &placed, &params))
        font.Refuse("cannot render the glyph of " + CharacterName(c) + ": " + FreeTypeFault(error));
}

} // namespace

std::vector<CardLine> ReadCard(const std::string& path, const Facts& facts)
{
    std::vector<CardLine> lines;
    for (const TextLine& line : ReadTextLines(path)) {
        size_t at = 0;
        const double baseline = Number(line.text, at, "baseline", line.where);
        const double capitals = Number(line.text, at, "capital height", line.where);
        if (capitals == 0.0)
            throw InputError{line.where + ": the capital height is 0"};
        const size_t start = line.text.find_first_not_of(" \t", at);
        if (start == std::string::npos)
            throw InputError{line.where + ": expected BASELINE CAPITALS TEXT, and the text is missing"};
        const std::string text = facts.Fill(line.text.substr(start), line.where);
        lines.push_back({baseline, capitals, DecodeUtf8(text, line.where), line.where});
    }
    if (lines.empty())
        RefuseFile(path, "has no line of text");
    return lines;
}

Coverage RenderCard(const FontFace& font, const std::vector<CardLine>& lines, uint32_t width, uint32_t height)
{
    Coverage card{width, height, std::vector<uint8_t>(size_t(width) * height, 0)};
    const double capHeight = double(font.CapHeight());
    for (const CardLine& line : lines) {
        const double scale = line.capitals * height / capHeight; // pixels per font unit
        const LineLayout layout = font.LayOut(line.text);
        const InkBox ink = MeasureInk(font, layout, line.where);
        const double left = (width - (ink.right - ink.left) * scale) / 2.0 - ink.left * scale;
        const double baseline = (1.0 - line.baseline) * height; // pixels up from the bottom
        const auto refuse = [&](const std::string& fault) {
            throw InputError{line.where + ": the line " + fault + " of the " + std::to_string(width) + "x" +
                             std::to_string(height) + " card"};
        };
        if (left + ink.left * scale < 0.0)
            refuse("is " + std::to_string(std::lround((ink.right - ink.left) * scale)) +
                   " pixels wide, wider than the width");
        if (baseline + ink.top * scale > height)
            refuse("reaches above the top");
        if (baseline + ink.bottom * scale < 0.0)
            refuse("reaches below the bottom");
        for (const PlacedGlyph& glyph : layout.glyphs)
            RenderGlyph(font, glyph.character, scale, left + double(glyph.penX) * scale, baseline, card);
    }
    return card;
}
