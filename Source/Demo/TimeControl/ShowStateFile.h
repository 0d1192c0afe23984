// The show's states as bytes: how a preparing process sends them and how the cache file keeps them.
// A stream is a header (magic, format) and then states one after another. Which show and program
// they belong to the cache file's name says.
#pragma once

#include "Demo/TimeControl/ShowState.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace showstates {

void WriteHeader(std::ostream& out);
void WriteState(std::ostream& out, const ShowState& state);

// Throws FrameworkEx "<name>: <fault>" for a stream that is not one of states of this format.
void ReadHeader(std::istream& in, const std::string& name);
// The next state; nothing at the stream's clean end. A state cut short or holding values no show
// has (counts beyond the modules' capacities, cursors out of range) throws FrameworkEx
// "<name>: <fault>".
std::optional<ShowState> ReadState(std::istream& in, const std::string& name);

// FNV-1a over the file's bytes, folded into seed; FrameworkEx naming a file that cannot be read.
uint64_t HashFile(const std::string& path, uint64_t seed);

} // namespace showstates
