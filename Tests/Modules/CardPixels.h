// Where a card's text should show in a picture of the show. A card (textcard's PNG) stands for
// the whole 16:9 picture, which the back buffer holds letterboxed; each pixel of the back buffer
// is sorted by what of the card lies under it and around it.
#pragma once

#include "Framework/SetupDialog/DisplaySettings.h"
#include "Platform/D3DX/CpuImage.h"
#include "Platform/Gfx/GL/GLReadBack.h"

#include <string>
#include <vector>

struct CardPixels {
    std::vector<double> text;  // brightness (0..255) of the pixels the text covers wholly
    std::vector<double> clear; // of those no text comes near, the letterbox bars included
    std::vector<double> around; // the clear ones inside the box that holds all of the card's text
};

// The card's PNG decoded by the engine's own image decoder.
CpuImage DecodeCard(const std::vector<unsigned char>& png);

// A pixel counts as text when the card is opaque all over the texels under it and a few around
// them, and as clear when it is transparent all over them and farther around, as far as the mip
// levels that a smaller picture reads spread the text.
CardPixels SortCardPixels(const CpuImage& card, const GLImage& backBuffer, const DisplaySettings& settings);

double Mean(const std::vector<double>& values);
double Largest(const std::vector<double>& values);
double Least(const std::vector<double>& values);
