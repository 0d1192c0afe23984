// Chord symbols of the score's harmony ("Am", "Fmaj7", "Gsus4", "C#m7", ...).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace synth {

struct Chord {
    int root = 0;               // pitch class, C = 0
    std::vector<int> intervals; // semitones above the root, ascending, starting with 0
};

// nullopt when the symbol is not a chord this synthesiser knows.
std::optional<Chord> ParseChord(const std::string& symbol);

// Pitch class + semitones -> the one note of that pitch class in [lowest, lowest + 12).
int PlaceInWindow(int pitchClass, int lowest);

} // namespace synth
