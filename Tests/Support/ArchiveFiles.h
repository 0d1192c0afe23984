// Files for test archives: effects in their compiled form and PNG images.
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

// A PNG of the given rows (top row first, samples as the colour type and depth lay them out,
// 16-bit samples big-endian), stored unfiltered.
std::vector<unsigned char> EncodePngRows(unsigned width, unsigned height, int colourType, int bitDepth,
                                         const std::vector<unsigned char>& rows);
// An 8-bit RGB PNG, top row first, each pixel's r, g, b from pixel(x, y).
std::vector<unsigned char> Png(unsigned width, unsigned height, const std::function<RgbPixel(unsigned, unsigned)>& pixel);
// The same, of one colour.
std::vector<unsigned char> SolidPng(unsigned width, unsigned height, unsigned char r, unsigned char g, unsigned char b);

// A ".x" mesh of one triangle with one grey material, for archives whose meshes only need to load.
inline const std::string GreyTriangleMesh = R"(xof 0303txt 0032
Mesh {
 3;
 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;
 1;
 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; Material { 0.5;0.5;0.5;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
}
)";
