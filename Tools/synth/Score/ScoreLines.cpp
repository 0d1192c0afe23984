#include "Score/ScoreLines.h"

#include "Dsp/Constants.h"
#include "SynthError.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace synth {

std::vector<ScoreLine> SplitScore(const std::string& text)
{
    std::vector<ScoreLine> lines;
    std::istringstream stream(text);
    std::string raw;
    int number = 0;
    while (std::getline(stream, raw)) {
        ++number;
        ScoreLine line{number, {}};
        std::istringstream words(raw);
        std::string word;
        while (words >> word) {
            if (word[0] == '#')
                break;
            line.words.push_back(word);
        }
        if (!line.words.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

void ScoreReader::Fail(int line, const std::string& message) const
{
    throw SynthError(fileName + ":" + std::to_string(line) + ": " + message);
}

double ScoreReader::Number(int line, const std::string& word) const
{
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value))
        Fail(line, Quoted(word) + " is not a number");
    return value;
}

double ScoreReader::NumberIn(int line, const std::string& what, const std::string& word, double lowest, double highest) const
{
    const double value = Number(line, word);
    if (value < lowest || value > highest) {
        std::ostringstream message;
        message << what << " must be between " << lowest << " and " << highest << ", not " << word;
        Fail(line, message.str());
    }
    return value;
}

int ScoreReader::WholeNumberIn(int line, const std::string& what, const std::string& word, int lowest, int highest) const
{
    const double value = NumberIn(line, what, word, lowest, highest);
    if (value != std::floor(value))
        Fail(line, what + " must be a whole number, not " + word);
    return static_cast<int>(value);
}

float ScoreReader::Decibels(int line, const std::string& what, const std::string& word, double lowest, double highest) const
{
    if (word == "-inf")
        return SilenceDb;
    return static_cast<float>(NumberIn(line, what, word, lowest, highest));
}

ScoreReader::Range ScoreReader::BarRange(int line, const std::string& word, int beatsPerBar) const
{
    const auto fail = [&] { Fail(line, Quoted(word) + " is not a bar range (like 8-11, 16 or 70-71:2)"); };
    // One position: a bar, or bar:beat.
    const auto position = [&](const std::string& text, bool& hasBeat) {
        const size_t colon = text.find(':');
        hasBeat = colon != std::string::npos;
        const std::string barText = text.substr(0, colon);
        if (barText.empty() || barText.find_first_not_of("0123456789") != std::string::npos)
            fail();
        double bar = std::stod(barText);
        if (hasBeat) {
            const std::string beatText = text.substr(colon + 1);
            if (beatText.empty() || beatText.find_first_not_of("0123456789.") != std::string::npos)
                fail();
            const double beat = std::stod(beatText);
            if (beat >= beatsPerBar)
                Fail(line, "beat " + beatText + " is not in a bar of " + std::to_string(beatsPerBar) + " beats");
            bar += beat / beatsPerBar;
        }
        return bar;
    };

    const size_t dash = word.find('-');
    bool startBeat = false, endBeat = false;
    const double start = position(word.substr(0, dash), startBeat);
    if (dash == std::string::npos) {
        if (startBeat)
            fail();
        return {start, start + 1.0, true};
    }
    const double lastBar = position(word.substr(dash + 1), endBeat);
    const double end = endBeat ? lastBar : lastBar + 1.0;
    if (end <= start)
        Fail(line, "the range " + word + " ends before it starts");
    return {start, end, !startBeat && !endBeat};
}

} // namespace synth
