// A score split into lines of words, comments removed, with the helpers every block parser
// shares for reading numbers, names and bar positions and for reporting a fault at a line.
#pragma once

#include <string>
#include <vector>

namespace synth {

struct ScoreLine {
    int number = 0;
    std::vector<std::string> words;
};

// Words are separated by blanks; a word starting with '#' begins a comment ('#' inside a word,
// as in C#4, is a sharp).
std::vector<ScoreLine> SplitScore(const std::string& text);

class ScoreReader {
public:
    explicit ScoreReader(std::string fileName) : fileName(std::move(fileName)) {}

    [[noreturn]] void Fail(int line, const std::string& message) const;

    double Number(int line, const std::string& word) const;
    double NumberIn(int line, const std::string& what, const std::string& word, double lowest, double highest) const;
    int WholeNumberIn(int line, const std::string& what, const std::string& word, int lowest, int highest) const;
    // "-inf" allowed: a level in dB.
    float Decibels(int line, const std::string& what, const std::string& word, double lowest, double highest) const;

    // "A-B", "A" or with beats "A:b-B:b": from the start of A to the end of bar B, or to beat b of
    // B exactly. Positions in bars.
    struct Range {
        double start, end;
        bool wholeBars;
    };
    Range BarRange(int line, const std::string& word, int beatsPerBar) const;

    const std::string& File() const { return fileName; }

private:
    std::string fileName;
};

std::string Quoted(const std::string& text);

} // namespace synth
