// The readable form of a sync track and the checks that keep it and the ".track" file in step:
// one key a line, "row value interpolation", with the interpolation by name (step, linear,
// cosine, quadratic).
#pragma once

#include "sync/trackfile.h"

#include <string>
#include <vector>

// The keys of the text file at path, in file order. Throws InputError naming file:line for a bad
// number, an unknown interpolation, a row that is negative or beyond 32 bits, or a repeated row.
std::vector<TrackRecord> ReadTrackText(const std::string& path);
// The same of text read from path.
std::vector<TrackRecord> ParseTrackText(const std::string& text, const std::string& path);

std::string FormatTrackText(const std::vector<TrackRecord>& records);

// The keys of a ".track" file, refused (InputError naming path) unless the text form can hold
// them exactly: a whole number of records as counted, known kinds, finite values, unique rows.
std::vector<TrackRecord> DecodeTrackFile(const std::string& path, const std::vector<unsigned char>& bytes);
