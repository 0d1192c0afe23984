#include "Score/NoteName.h"

#include <cctype>

namespace synth {

std::optional<int> ParsePitchClass(const std::string& text, size_t& used)
{
    static const int letterClasses[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        return std::nullopt;
    int pitchClass = letterClasses[text[0] - 'A'];
    used = 1;
    while (used < text.size() && (text[used] == '#' || text[used] == 'b')) {
        pitchClass += text[used] == '#' ? 1 : -1;
        ++used;
    }
    return ((pitchClass % 12) + 12) % 12;
}

std::optional<int> ParseNoteName(const std::string& text)
{
    size_t used = 0;
    if (!ParsePitchClass(text, used))
        return std::nullopt;
    // The accidentals move the note across octave borders as written (Cb4 is B3).
    static const int letterClasses[7] = {9, 11, 0, 2, 4, 5, 7};
    int semitones = letterClasses[text[0] - 'A'];
    for (size_t i = 1; i < used; ++i)
        semitones += text[i] == '#' ? 1 : -1;

    std::string octaveText = text.substr(used);
    bool negative = !octaveText.empty() && octaveText[0] == '-';
    if (negative)
        octaveText.erase(0, 1);
    if (octaveText.size() != 1 || !std::isdigit(static_cast<unsigned char>(octaveText[0])))
        return std::nullopt;
    const int octave = negative ? -(octaveText[0] - '0') : octaveText[0] - '0';
    if (negative && octave != -1)
        return std::nullopt;
    const int note = (octave + 1) * 12 + semitones;
    if (note < 0 || note > 127)
        return std::nullopt;
    return note;
}

} // namespace synth
