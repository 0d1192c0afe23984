// A card: lines of text laid over the whole picture, each centred across it at its own height and
// size, rendered antialiased into a coverage map.
#pragma once

#include "Facts.h"
#include "FontFace.h"

#include <cstdint>
#include <string>
#include <vector>

struct CardLine {
    double baseline; // from the card's top, as a share of its height
    double capitals; // the height of capital letters, as a share of the card's height
    std::u32string text;
    std::string where; // "path:line"
};

// The card file: one line of text a line, "BASELINE CAPITALS TEXT" (the two numbers from 0 to 1,
// capitals above 0; the text is the rest after the blanks that follow them, with its facts
// filled in). Lines that are blank or start with '#' do not count. Throws InputError naming the
// file and line of the first fault.
std::vector<CardLine> ReadCard(const std::string& path, const Facts& facts);

// How much of each pixel the text covers, 0 to 255, row by row from the top.
struct Coverage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> values;
};

// The lines in the font, each centred across the card by its ink (not by its advance, so that a
// line looks centred whatever its first and last characters). Throws InputError naming the line
// when its ink would reach beyond an edge of the card, or it has nothing to draw.
Coverage RenderCard(const FontFace& font, const std::vector<CardLine>& lines, uint32_t width, uint32_t height);
