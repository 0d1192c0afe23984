// A line of text laid out in a TrueType or OpenType font with FreeType and flattened into
// contours: glyphs placed by their advances and the font's kerning table, curves cut into straight
// pieces.
#pragma once

#include "Outline.h"

#include <string>

struct TextOutline {
    // World units: x to the right from the first glyph's pen origin at 0, y up from the baseline
    // at 0. Points lie on grid; no contour has redundant points (Outline.h).
    std::vector<Contour> contours;
    Grid grid{1.0};
    bool evenOdd = false;   // the font's fill rule: even-odd instead of non-zero winding
    double advance = 0.0;   // where the pen stands after the last character
};

// capHeight: the height of 'H' in world units, which sets the scale. tolerance: the farthest a
// straight piece may stray from its curve, in world units. Throws InputError naming fontPath when
// the font cannot be read or lacks a character (named as U+XXXX) of text.
TextOutline OutlineText(const std::string& fontPath, const std::u32string& text, double capHeight,
                        double tolerance);
