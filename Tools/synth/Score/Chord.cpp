#include "Score/Chord.h"

#include "Score/NoteName.h"

#include <array>
#include <utility>

namespace synth {
namespace {

const std::array<std::pair<const char*, std::vector<int>>, 12> Qualities = {{
    {"", {0, 4, 7}},
    {"m", {0, 3, 7}},
    {"7", {0, 4, 7, 10}},
    {"m7", {0, 3, 7, 10}},
    {"maj7", {0, 4, 7, 11}},
    {"sus2", {0, 2, 7}},
    {"sus4", {0, 5, 7}},
    {"add9", {0, 2, 4, 7}},
    {"madd9", {0, 2, 3, 7}},
    {"5", {0, 7}},
    {"dim", {0, 3, 6}},
    {"m9", {0, 2, 3, 7, 10}},
}};

} // namespace

std::optional<Chord> ParseChord(const std::string& symbol)
{
    size_t used = 0;
    const std::optional<int> root = ParsePitchClass(symbol, used);
    if (!root)
        return std::nullopt;
    const std::string quality = symbol.substr(used);
    for (const auto& [name, intervals] : Qualities) {
        if (quality == name)
            return Chord{*root, intervals};
    }
    return std::nullopt;
}

int PlaceInWindow(int pitchClass, int lowest)
{
    const int offset = ((pitchClass - lowest) % 12 + 12) % 12;
    return lowest + offset;
}

} // namespace synth
