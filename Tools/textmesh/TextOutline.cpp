#include "TextOutline.h"

#include "TextSource.h"
#include "ToolMain.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// "U+00E9 ('é')", or only the number for what would not print.
std::string CharacterName(char32_t c)
{
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
    std::string name = number;
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c > 0x10FFFF)
        return name;
    std::string utf8;
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    return name + " ('" + utf8 + "')";
}

// FreeType's own words for its error codes (it builds them into the library only on request).
std::string FreeTypeFault(FT_Error error)
{
#undef FTERRORS_H_
#define FT_ERROR_START_LIST switch (FT_ERROR_BASE(error)) {
#define FT_ERRORDEF(e, v, s) \
    case v:                  \
        return s;
#define FT_ERROR_END_LIST }
#include FT_ERRORS_H
    return "FreeType error " + std::to_string(error);
}

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// The font file opened by FreeType, which reads its glyphs unscaled, in font units.
class Font {
public:
    explicit Font(const std::string& path) : path(path), bytes(ReadInputFile(path))
    {
        FT_Library newLibrary = nullptr;
        if (const FT_Error error = FT_Init_FreeType(&newLibrary))
            throw InputError{"cannot start FreeType: " + FreeTypeFault(error)};
        library.reset(newLibrary);
        FT_Face newFace = nullptr;
        const FT_Error error =
            FT_New_Memory_Face(library.get(), bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &newFace);
        if (error)
            Refuse("not a font file FreeType can read: " + FreeTypeFault(error));
        face.reset(newFace);
        if (!FT_IS_SCALABLE(face))
            Refuse("not an outline font");
        // FreeType picks a Unicode character map when the font has one.
        if (!face->charmap || face->charmap->encoding != FT_ENCODING_UNICODE)
            Refuse("the font has no Unicode character map");
    }

    [[noreturn]] void Refuse(const std::string& fault) const { RefuseFile(path, fault); }

    FT_UInt GlyphIndex(char32_t c) const
    {
        const FT_UInt index = FT_Get_Char_Index(face.get(), c);
        if (index == 0)
            Refuse("the font has no character " + CharacterName(c));
        return index;
    }

    // The glyph of c in the face's glyph slot, its outline and advance in font units.
    const FT_GlyphSlotRec& Load(char32_t c) const
    {
        if (const FT_Error error = FT_Load_Glyph(face.get(), GlyphIndex(c), FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP))
            Refuse("cannot load the glyph of " + CharacterName(c) + ": " + FreeTypeFault(error));
        if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            Refuse("the glyph of " + CharacterName(c) + " is not an outline");
        return *face->glyph;
    }

    FT_Pos Kerning(FT_UInt left, FT_UInt right) const
    {
        if (!FT_HAS_KERNING(face))
            return 0;
        FT_Vector kerning{0, 0};
        if (FT_Get_Kerning(face.get(), left, right, FT_KERNING_UNSCALED, &kerning) != 0)
            return 0; // a kerning table FreeType cannot read leaves the advances alone
        return kerning.x;
    }

private:
    std::string path;
    std::vector<unsigned char> bytes; // FreeType reads the face from here for as long as it lives
    std::unique_ptr<FT_LibraryRec_, LibraryDone> library;
    std::unique_ptr<FT_FaceRec_, FaceDone> face;
};

// Follows one glyph's outline, placed at the pen and scaled to world units, and cuts its curves
// into pieces that stray at most tolerance from them. The number of pieces comes from the curve's
// second differences, which bound how far a chord of a Bézier curve strays from it (for a
// parameter step h: |B''| h^2 / 8).
class Flattener {
public:
    Flattener(std::vector<Contour>& contours, double penX, double scale, double tolerance)
        : contours(contours), penX(penX), scale(scale), tolerance(tolerance)
    {
    }

    // False when the outline is malformed.
    bool Follow(const FT_Outline& outline)
    {
        FT_Outline_Funcs funcs{};
        funcs.move_to = [](const FT_Vector* to, void* self) { return static_cast<Flattener*>(self)->MoveTo(to); };
        funcs.line_to = [](const FT_Vector* to, void* self) { return static_cast<Flattener*>(self)->LineTo(to); };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* self) {
            return static_cast<Flattener*>(self)->ConicTo(control, to);
        };
        funcs.cubic_to = [](const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* self) {
            return static_cast<Flattener*>(self)->CubicTo(control1, control2, to);
        };
        return FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, this) == 0;
    }

private:
    Point2 World(const FT_Vector* v) const
    {
        return {(penX + static_cast<double>(v->x)) * scale, static_cast<double>(v->y) * scale};
    }

    int MoveTo(const FT_Vector* to)
    {
        contours.push_back({World(to)});
        return 0;
    }

    int LineTo(const FT_Vector* to)
    {
        contours.back().push_back(World(to));
        return 0;
    }

    int ConicTo(const FT_Vector* control, const FT_Vector* to)
    {
        const Point2 p0 = contours.back().back(), p1 = World(control), p2 = World(to);
        // B'' = 2 (p0 - 2 p1 + p2).
        const double bend = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
        const int pieces = Pieces(2.0 * bend);
        for (int i = 1; i <= pieces; ++i) {
            const double t = double(i) / pieces, s = 1.0 - t;
            contours.back().push_back(
                {s * s * p0.x + 2 * s * t * p1.x + t * t * p2.x, s * s * p0.y + 2 * s * t * p1.y + t * t * p2.y});
        }
        return 0;
    }

    int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to)
    {
        const Point2 p0 = contours.back().back(), p1 = World(control1), p2 = World(control2), p3 = World(to);
        // |B''| <= 6 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|).
        const double bend = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                     std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
        const int pieces = Pieces(6.0 * bend);
        for (int i = 1; i <= pieces; ++i) {
            const double t = double(i) / pieces, s = 1.0 - t;
            const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
            contours.back().push_back(
                {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
        }
        return 0;
    }

    // Pieces of equal parameter step for a curve whose second derivative stays within
    // secondDerivative: the chord of a step h strays at most secondDerivative h^2 / 8.
    int Pieces(double secondDerivative) const
    {
        return std::max(1, static_cast<int>(std::ceil(std::sqrt(secondDerivative / (8.0 * tolerance)))));
    }

    std::vector<Contour>& contours;
    double penX;
    double scale;
    double tolerance;
};

} // namespace

TextOutline OutlineText(const std::string& fontPath, const std::u32string& text, double capHeight, double tolerance)
{
    const Font font(fontPath);
    FT_BBox box;
    FT_Outline_Get_CBox(&font.Load(U'H').outline, &box);
    if (box.yMax <= 0)
        font.Refuse("the font's 'H' does not rise above the baseline, so it gives no capital height");
    const double scale = capHeight / static_cast<double>(box.yMax);

    TextOutline result;
    std::vector<Contour> contours;
    FT_Pos pen = 0; // font units, exact
    FT_UInt previous = 0;
    for (const char32_t c : text) {
        const FT_UInt index = font.GlyphIndex(c);
        if (previous != 0)
            pen += font.Kerning(previous, index);
        const FT_GlyphSlotRec& glyph = font.Load(c);
        if (glyph.outline.flags & FT_OUTLINE_EVEN_ODD_FILL)
            result.evenOdd = true;
        if (!Flattener(contours, static_cast<double>(pen), scale, tolerance).Follow(glyph.outline))
            font.Refuse("the outline of " + CharacterName(c) + " is malformed");
        pen += glyph.advance.x;
        previous = index;
    }
    result.advance = static_cast<double>(pen) * scale;

    double extent = std::fabs(result.advance);
    for (const Contour& contour : contours)
        for (const Point2& p : contour)
            extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
    result.grid = Grid(extent);
    for (Contour& contour : contours) {
        for (Point2& p : contour)
            p = result.grid.Snap(p);
        RemoveRedundantPoints(contour);
        if (!contour.empty())
            result.contours.push_back(std::move(contour));
    }
    return result;
}
