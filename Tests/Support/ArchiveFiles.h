// Files for test archives: effects in their compiled form and TGA images.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A test archive's entries by name.
using ArchiveEntries = std::map<std::string, std::vector<unsigned char>>;

// The compiled form of an effect source (named "effect.fx" in messages); includes from the map.
std::vector<unsigned char> CompileEffect(const std::string& source,
                                         const std::map<std::string, std::string>& includes = {});

using RgbPixel = std::array<unsigned char, 3>;

// An uncompressed 32-bit TGA, opaque, top row first, each pixel's r, g, b from pixel(x, y).
std::vector<unsigned char> Tga(unsigned width, unsigned height, const std::function<RgbPixel(unsigned, unsigned)>& pixel);
// The same, of one colour.
std::vector<unsigned char> SolidTga(unsigned width, unsigned height, unsigned char r, unsigned char g, unsigned char b);
