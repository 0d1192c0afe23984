// The readable form of an animation curve and the checks that keep it and the binary curve file in
// step: one key a line, "time value inSlope outSlope", times in seconds and strictly ascending.
#pragma once

#include "Framework/Scene/CurveFile.h"

#include <string>
#include <vector>

// The keys of the text file at path. Throws InputError naming file:line for a bad number or a time
// that does not come after the previous key's, and naming the file when it holds no key (the show
// would take an empty curve file for a missing one).
std::vector<CurveKey> ReadCurveText(const std::string& path);
// The same of text read from path.
std::vector<CurveKey> ParseCurveText(const std::string& text, const std::string& path);

std::string FormatCurveText(const std::vector<CurveKey>& keys);

// The keys of a binary curve file, refused (InputError naming path) unless the text form can hold
// them exactly: whole 16-byte records, at least one, finite numbers, ascending times.
std::vector<CurveKey> DecodeCurveFile(const std::string& path, const std::vector<unsigned char>& bytes);
