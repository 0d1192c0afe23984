// Note names of the score: a letter A-G, any number of '#' or 'b', and an octave number
// (C4 = MIDI 60, A4 = 69 = 440 Hz; octaves -1 .. 9).
#pragma once

#include <optional>
#include <string>

namespace synth {

// The pitch class (C = 0 .. B = 11) at the start of text; `used` receives its length.
std::optional<int> ParsePitchClass(const std::string& text, size_t& used);

// A whole note name -> MIDI note number, or nullopt.
std::optional<int> ParseNoteName(const std::string& text);

} // namespace synth
