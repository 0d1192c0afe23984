#include "TextOutline.h"

#include "FontFace.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace {

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
    const FontFace font(fontPath);
    const double scale = capHeight / static_cast<double>(font.CapHeight());
    const LineLayout line = font.LayOut(text);

    TextOutline result;
    std::vector<Contour> contours;
    for (const PlacedGlyph& glyph : line.glyphs) {
        const FT_Outline& outline = font.Outline(glyph.character);
        if (outline.flags & FT_OUTLINE_EVEN_ODD_FILL)
            result.evenOdd = true;
        if (!Flattener(contours, static_cast<double>(glyph.penX), scale, tolerance).Follow(outline))
            font.Refuse("the outline of " + CharacterName(glyph.character) + " is malformed");
    }
    result.advance = static_cast<double>(line.advance) * scale;

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
