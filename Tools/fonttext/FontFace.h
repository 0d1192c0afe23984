// A TrueType or OpenType font opened with FreeType, and a line of text laid out in it: what the
// tools that draw text (textmesh's solids, textcard's pictures) share, so that a line has the
// same shape in both.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>
#include <vector>

// "U+00E9 ('é')", or only the number for what would not print.
std::string CharacterName(char32_t c);

// FreeType's own words for an error code.
std::string FreeTypeFault(FT_Error error);

// One character of a laid-out line: its glyph and where the pen stands for it, in font units.
struct PlacedGlyph {
    char32_t character;
    FT_UInt index;
    FT_Pos penX;
};

struct LineLayout {
    std::vector<PlacedGlyph> glyphs;
    FT_Pos advance = 0; // where the pen stands after the last character
};

// The font read whole from its file. Glyphs are loaded unscaled, in font units: every user scales
// the outlines itself, so that sizes and positions do not depend on FreeType's hinting.
class FontFace {
public:
    // Throws InputError naming the file when it cannot be read, is no outline font or has no
    // Unicode character map.
    explicit FontFace(const std::string& path);

    [[noreturn]] void Refuse(const std::string& fault) const;

    // The height of 'H' in font units, which sets the scale of the text: capitals are as tall as
    // the size asked for.
    FT_Pos CapHeight() const;

    // The characters one after another by their advances and the font's kerning table (where it
    // has one). Throws InputError for a character the font lacks.
    LineLayout LayOut(const std::u32string& text) const;

    // The outline of c in font units, in the face's glyph slot (valid until the next load).
    const FT_Outline& Outline(char32_t c) const;

    FT_Library Library() const { return library.get(); }

private:
    struct LibraryDone {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    struct FaceDone {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };

    FT_UInt GlyphIndex(char32_t c) const;
    FT_Pos Kerning(FT_UInt left, FT_UInt right) const;

    std::string path;
    std::vector<unsigned char> bytes; // FreeType reads the face from here for as long as it lives
    std::unique_ptr<FT_LibraryRec_, LibraryDone> library;
    std::unique_ptr<FT_FaceRec_, FaceDone> face;
};
