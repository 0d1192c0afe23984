#include "FontFace.h"

#include "TextSource.h"
#include "ToolMain.h"

#include FT_OUTLINE_H

#include <cstdio>

std::string CharacterName(char32_t c)
{
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
    std::string name = number;
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c > 0x10FFFF)
        return name;
    return name + " ('" + EncodeUtf8(std::u32string(1, c)) + "')";
}

// FreeType builds its error strings into the library only on request; these are its own words.
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

FontFace::FontFace(const std::string& path) : path(path), bytes(ReadInputFile(path))
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

void FontFace::Refuse(const std::string& fault) const
{
    RefuseFile(path, fault);
}

FT_Pos FontFace::CapHeight() const
{
    FT_BBox box;
    FT_Outline_Get_CBox(&Outline(U'H'), &box);
    if (box.yMax <= 0)
        Refuse("the font's 'H' does not rise above the baseline, so it gives no capital height");
    return box.yMax;
}

LineLayout FontFace::LayOut(const std::u32string& text) const
{
    LineLayout line;
    FT_UInt previous = 0;
    for (const char32_t c : text) {
        const FT_UInt index = GlyphIndex(c);
        if (previous != 0)
            line.advance += Kerning(previous, index);
        line.glyphs.push_back({c, index, line.advance});
        if (const FT_Error error = FT_Load_Glyph(face.get(), index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP))
            Refuse("cannot load the glyph of " + CharacterName(c) + ": " + FreeTypeFault(error));
        line.advance += face->glyph->advance.x;
        previous = index;
    }
    return line;
}

const FT_Outline& FontFace::Outline(char32_t c) const
{
    if (const FT_Error error = FT_Load_Glyph(face.get(), GlyphIndex(c), FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP))
        Refuse("cannot load the glyph of " + CharacterName(c) + ": " + FreeTypeFault(error));
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        Refuse("the glyph of " + CharacterName(c) + " is not an outline");
    return face->glyph->outline;
}

FT_UInt FontFace::GlyphIndex(char32_t c) const
{
    const FT_UInt index = FT_Get_Char_Index(face.get(), c);
    if (index == 0)
        Refuse("the font has no character " + CharacterName(c));
    return index;
}

FT_Pos FontFace::Kerning(FT_UInt left, FT_UInt right) const
{
    if (!FT_HAS_KERNING(face))
        return 0;
    FT_Vector kerning{0, 0};
    if (FT_Get_Kerning(face.get(), left, right, FT_KERNING_UNSCALED, &kerning) != 0)
        return 0; // a kerning table FreeType cannot read leaves the advances alone
    return kerning.x;
}
