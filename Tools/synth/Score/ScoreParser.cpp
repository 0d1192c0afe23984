#include "Score/ScoreParser.h"

#include "Score/InstrumentSettings.h"
#include "Score/NoteName.h"
#include "Score/ScoreLines.h"
#include "SynthError.h"

#include <array>
#include <fstream>
#include <map>
#include <sstream>

namespace synth {
namespace {

// Names in the arrangement, harmony and automation are resolved once the whole file is read,
// so that blocks may come in any order.
struct PendingPlacement {
    int line;
    ScoreReader::Range range;
    std::string rangeWord;
    std::string instrument, pattern;
    int transpose;
    float velocity;
};

struct PendingHarmony {
    int line;
    ScoreReader::Range range;
    std::string rangeWord;
    std::vector<Chord> chords;
};

struct PendingAutomation {
    int line;
    ScoreReader::Range range;
    std::string rangeWord;
    std::string target;
    std::string param;
    std::string from, to;
};

class Parser {
public:
    Parser(const std::string& text, const std::string& fileName) : reader(fileName), lines(SplitScore(text))
    {
        score.fileName = fileName;
    }

    Score Parse();

private:
    using Block = std::vector<const ScoreLine*>;

    Block ReadBlock(const ScoreLine& header);
    void Statement(const ScoreLine& line);
    void ExpectWords(const ScoreLine& line, size_t count, const std::string& form) const;

    void InstrumentBlock(const ScoreLine& header);
    void PatternBlock(const ScoreLine& header);
    void PatternLine(Pattern& pattern, const ScoreLine& line, bool& hasSteps);
    void HarmonyBlock(const ScoreLine& header);
    void ArrangementBlock(const ScoreLine& header);
    void AutomationBlock(const ScoreLine& header);
    void MasterBlock(const ScoreLine& header);
    void MasterSetting(const std::string& key, const std::string& value, int line);

    void Resolve();
    void CheckInSong(int line, const ScoreReader::Range& range, const std::string& word) const;
    int InstrumentIndex(const std::string& name, int line) const;
    void ResolveAutomation(const PendingAutomation& pending);

    ScoreReader reader;
    std::vector<ScoreLine> lines;
    size_t next = 0;
    Score score;
    int barsLine = 0;
    std::map<std::string, int> instrumentLines, patternLines;
    std::vector<PendingPlacement> placements;
    std::vector<PendingHarmony> harmonies;
    std::vector<PendingAutomation> automations;
};

Score Parser::Parse()
{
    while (next < lines.size())
        Statement(lines[next++]);
    if (barsLine == 0)
        throw SynthError(reader.File() + ": the score gives no \"bars\" (the song's length in bars)");
    Resolve();
    return std::move(score);
}

void Parser::ExpectWords(const ScoreLine& line, size_t count, const std::string& form) const
{
    if (line.words.size() != count)
        reader.Fail(line.number, "expected " + Quoted(form));
}

Parser::Block Parser::ReadBlock(const ScoreLine& header)
{
    static const std::array<const char*, 6> blockKeywords = {"instrument", "pattern", "harmony", "arrangement",
                                                             "automation", "master"};
    Block block;
    while (next < lines.size()) {
        const ScoreLine& line = lines[next++];
        if (line.words[0] == "end") {
            ExpectWords(line, 1, "end");
            return block;
        }
        // A new block inside this one means this one was never closed.
        for (const char* keyword : blockKeywords) {
            if (line.words[0] == keyword)
                next = lines.size();
        }
        if (next == lines.size())
            break;
        block.push_back(&line);
    }
    reader.Fail(header.number, "the " + Quoted(header.words[0]) + " block that starts here has no \"end\"");
}

void Parser::Statement(const ScoreLine& line)
{
    const std::string& keyword = line.words[0];
    if (keyword == "title") {
        for (size_t i = 1; i < line.words.size(); ++i)
            score.title += (i > 1 ? " " : "") + line.words[i];
    } else if (keyword == "tempo") {
        ExpectWords(line, 2, "tempo BPM");
        score.tempo = reader.NumberIn(line.number, "tempo", line.words[1], 20, 300);
    } else if (keyword == "beats") {
        ExpectWords(line, 2, "beats PER-BAR");
        score.beatsPerBar = reader.WholeNumberIn(line.number, "beats", line.words[1], 1, 16);
    } else if (keyword == "bars") {
        ExpectWords(line, 2, "bars COUNT");
        score.bars = reader.WholeNumberIn(line.number, "bars", line.words[1], 1, 1000);
        barsLine = line.number;
    } else if (keyword == "instrument") {
        InstrumentBlock(line);
    } else if (keyword == "pattern") {
        PatternBlock(line);
    } else if (keyword == "harmony") {
        HarmonyBlock(line);
    } else if (keyword == "arrangement") {
        ArrangementBlock(line);
    } else if (keyword == "automation") {
        AutomationBlock(line);
    } else if (keyword == "master") {
        MasterBlock(line);
    } else {
        reader.Fail(line.number, "unknown statement " + Quoted(keyword));
    }
}

void Parser::InstrumentBlock(const ScoreLine& header)
{
    ExpectWords(header, 3, "instrument NAME TYPE");
    const auto type = InstrumentTypeNamed(header.words[2]);
    if (!type)
        reader.Fail(header.number, "unknown instrument type " + Quoted(header.words[2]) +
                                       " (synth, kick, snare, clap, hat, riser)");
    Instrument instrument = MakeInstrument(header.words[1], *type, header.number);
    if (auto [it, added] = instrumentLines.emplace(instrument.name, header.number); !added)
        reader.Fail(header.number, "instrument " + Quoted(instrument.name) + " is defined twice (first on line " +
                                       std::to_string(it->second) + ")");

    for (const ScoreLine* line : ReadBlock(header)) {
        if (line->words.size() % 2 != 0)
            reader.Fail(line->number, "setting " + Quoted(line->words.back()) + " needs a value");
        for (size_t i = 0; i < line->words.size(); i += 2)
            ApplyInstrumentSetting(instrument, line->words[i], line->words[i + 1], line->number, reader);
    }
    score.instruments.push_back(std::move(instrument));
}

void Parser::PatternBlock(const ScoreLine& header)
{
    ExpectWords(header, 2, "pattern NAME");
    Pattern pattern;
    pattern.name = header.words[1];
    pattern.line = header.number;
    if (auto [it, added] = patternLines.emplace(pattern.name, header.number); !added)
        reader.Fail(header.number, "pattern " + Quoted(pattern.name) + " is defined twice (first on line " +
                                       std::to_string(it->second) + ")");

    bool hasSteps = false;
    for (const ScoreLine* line : ReadBlock(header))
        PatternLine(pattern, *line, hasSteps);

    const size_t expected = static_cast<size_t>(pattern.stepsPerBar) * pattern.bars;
    if (!hasSteps) {
        if (pattern.arp == ArpMode::None)
            reader.Fail(header.number, "pattern " + Quoted(pattern.name) + " has no hits, notes or arp");
        pattern.steps.assign(expected, Step{Step::Kind::Hit, 0, 1.0f});
    }
    if (pattern.steps.size() != expected) {
        std::ostringstream message;
        message << "pattern " << Quoted(pattern.name) << " has " << pattern.steps.size() << " steps, but "
                << pattern.bars << (pattern.bars == 1 ? " bar" : " bars") << " of " << pattern.stepsPerBar
                << " steps need " << expected;
        reader.Fail(header.number, message.str());
    }
    score.patterns.push_back(std::move(pattern));
}

Step ParseNoteStep(const std::string& word, int line, const ScoreReader& reader)
{
    if (word == ".")
        return {Step::Kind::Rest};
    if (word == "-")
        return {Step::Kind::Hold};
    if (word == "*")
        return {Step::Kind::Chord};
    if (word[0] == 'R') {
        if (word.size() == 1)
            return {Step::Kind::Root, 0};
        if ((word[1] == '+' || word[1] == '-') && word.size() > 2 &&
            word.find_first_not_of("0123456789", 2) == std::string::npos) {
            const int semitones = std::stoi(word.substr(2));
            if (semitones <= 48)
                return {Step::Kind::Root, word[1] == '+' ? semitones : -semitones};
        }
    }
    if (const auto note = ParseNoteName(word))
        return {Step::Kind::Note, *note};
    reader.Fail(line, Quoted(word) + " is not a step (a note like A4, R, R+7, *, - or .)");
}

void Parser::PatternLine(Pattern& pattern, const ScoreLine& line, bool& hasSteps)
{
    const std::string& key = line.words[0];
    const auto single = [&](const std::string& form) { ExpectWords(line, 2, form); return line.words[1]; };
    if (key == "steps") {
        pattern.stepsPerBar = reader.WholeNumberIn(line.number, "steps", single("steps PER-BAR"), 1, 64);
    } else if (key == "length") {
        pattern.bars = reader.WholeNumberIn(line.number, "length", single("length BARS"), 1, 64);
    } else if (key == "gate") {
        pattern.gate = static_cast<float>(reader.NumberIn(line.number, "gate", single("gate FRACTION"), 0.01, 1));
    } else if (key == "velocity") {
        pattern.velocity = static_cast<float>(reader.NumberIn(line.number, "velocity", single("velocity V"), 0, 1));
    } else if (key == "window") {
        const auto note = ParseNoteName(single("window NOTE"));
        if (!note)
            reader.Fail(line.number, Quoted(line.words[1]) + " is not a note (like A1 or C#4)");
        pattern.window = *note;
    } else if (key == "arp") {
        if (line.words.size() < 2 || line.words.size() > 3)
            reader.Fail(line.number, "expected \"arp MODE [OCTAVES]\"");
        static const std::array<std::pair<const char*, ArpMode>, 3> modes = {
            {{"up", ArpMode::Up}, {"down", ArpMode::Down}, {"updown", ArpMode::UpDown}}};
        pattern.arp = ArpMode::None;
        for (const auto& [name, mode] : modes) {
            if (line.words[1] == name)
                pattern.arp = mode;
        }
        if (pattern.arp == ArpMode::None)
            reader.Fail(line.number, Quoted(line.words[1]) + " is not an arp mode (up, down, updown)");
        if (line.words.size() == 3)
            pattern.arpOctaves = reader.WholeNumberIn(line.number, "arp octaves", line.words[2], 1, 4);
    } else if (key == "hits") {
        hasSteps = true;
        for (size_t w = 1; w < line.words.size(); ++w) {
            for (char c : line.words[w]) {
                switch (c) {
                case 'X': pattern.steps.push_back({Step::Kind::Hit, 0, 1.0f}); break;
                case 'x': pattern.steps.push_back({Step::Kind::Hit, 0, 0.8f}); break;
                case 'o': pattern.steps.push_back({Step::Kind::Hit, 0, 0.55f}); break;
                case '-': pattern.steps.push_back({Step::Kind::Hold}); break;
                case '.': pattern.steps.push_back({Step::Kind::Rest}); break;
                default:
                    reader.Fail(line.number, Quoted(std::string(1, c)) + " is not a hit (X, x, o, - or .)");
                }
            }
        }
    } else if (key == "notes") {
        hasSteps = true;
        for (size_t w = 1; w < line.words.size(); ++w)
            pattern.steps.push_back(ParseNoteStep(line.words[w], line.number, reader));
    } else {
        reader.Fail(line.number, "unknown pattern setting " + Quoted(key));
    }
    if (pattern.arp != ArpMode::None) {
        for (const Step& step : pattern.steps) {
            if (step.kind == Step::Kind::Note || step.kind == Step::Kind::Root || step.kind == Step::Kind::Chord)
                reader.Fail(line.number, "an arp plays the chord: give it hits for its rhythm, not notes");
        }
    }
}

void Parser::HarmonyBlock(const ScoreLine& header)
{
    ExpectWords(header, 1, "harmony");
    for (const ScoreLine* line : ReadBlock(header)) {
        if (line->words.size() < 2)
            reader.Fail(line->number, "expected \"BARS CHORD...\"");
        PendingHarmony harmony{line->number, reader.BarRange(line->number, line->words[0], score.beatsPerBar),
                               line->words[0], {}};
        if (!harmony.range.wholeBars)
            reader.Fail(line->number, "chords change on whole bars: " + Quoted(line->words[0]));
        for (size_t i = 1; i < line->words.size(); ++i) {
            const auto chord = ParseChord(line->words[i]);
            if (!chord)
                reader.Fail(line->number, Quoted(line->words[i]) + " is not a chord (like Am, F, Cmaj7, Gsus4)");
            harmony.chords.push_back(*chord);
        }
        harmonies.push_back(std::move(harmony));
    }
}

void Parser::ArrangementBlock(const ScoreLine& header)
{
    ExpectWords(header, 1, "arrangement");
    for (const ScoreLine* line : ReadBlock(header)) {
        const auto& words = line->words;
        if (words.size() < 3 || words.size() % 2 == 0)
            reader.Fail(line->number, "expected \"BARS INSTRUMENT PATTERN [transpose N] [velocity V]\"");
        PendingPlacement placement{line->number, reader.BarRange(line->number, words[0], score.beatsPerBar),
                                   words[0], words[1], words[2], 0, 1.0f};
        for (size_t i = 3; i < words.size(); i += 2) {
            if (words[i] == "transpose")
                placement.transpose = reader.WholeNumberIn(line->number, "transpose", words[i + 1], -48, 48);
            else if (words[i] == "velocity")
                placement.velocity = static_cast<float>(reader.NumberIn(line->number, "velocity", words[i + 1], 0, 1));
            else
                reader.Fail(line->number, "unknown arrangement option " + Quoted(words[i]));
        }
        placements.push_back(std::move(placement));
    }
}

void Parser::AutomationBlock(const ScoreLine& header)
{
    ExpectWords(header, 1, "automation");
    for (const ScoreLine* line : ReadBlock(header)) {
        ExpectWords(*line, 4, "BARS TARGET.PARAMETER FROM TO");
        const std::string& target = line->words[1];
        const size_t dot = target.find('.');
        if (dot == std::string::npos)
            reader.Fail(line->number, Quoted(target) + " is not INSTRUMENT.PARAMETER or master.gain");
        automations.push_back({line->number, reader.BarRange(line->number, line->words[0], score.beatsPerBar),
                               line->words[0], target.substr(0, dot), target.substr(dot + 1), line->words[2],
                               line->words[3]});
    }
}

void Parser::MasterBlock(const ScoreLine& header)
{
    ExpectWords(header, 1, "master");
    for (const ScoreLine* line : ReadBlock(header)) {
        if (line->words.size() % 2 != 0)
            reader.Fail(line->number, "setting " + Quoted(line->words.back()) + " needs a value");
        for (size_t i = 0; i < line->words.size(); i += 2)
            MasterSetting(line->words[i], line->words[i + 1], line->number);
    }
}

void Parser::MasterSetting(const std::string& key, const std::string& value, int line)
{
    Master& master = score.master;
    const auto number = [&](double lowest, double highest) {
        return static_cast<float>(reader.NumberIn(line, key, value, lowest, highest));
    };
    if (key == "gain") master.gain = number(-24, 24);
    else if (key == "ceiling") master.ceiling = number(-12, 0);
    else if (key == "limiter-release") master.limiterRelease = number(0.005, 1);
    else if (key == "delay-beats") master.delayBeats = number(0.0625, 4);
    else if (key == "delay-feedback") master.delayFeedback = number(0, 0.95);
    else if (key == "delay-tone") master.delayTone = number(200, 20000);
    else if (key == "reverb-time") master.reverbTime = number(0.1, 20);
    else if (key == "reverb-damping") master.reverbDamping = number(200, 20000);
    else if (key == "reverb-predelay") master.reverbPreDelay = number(0, 0.2);
    else if (key == "duck-release") master.duckRelease = number(0.01, 1);
    else if (key == "sidechain") {
        master.sidechainName = value;
        master.sidechainLine = line;
    } else {
        reader.Fail(line, "unknown master setting " + Quoted(key));
    }
}

int Parser::InstrumentIndex(const std::string& name, int line) const
{
    for (size_t i = 0; i < score.instruments.size(); ++i) {
        if (score.instruments[i].name == name)
            return static_cast<int>(i);
    }
    reader.Fail(line, "unknown instrument " + Quoted(name));
}

void Parser::CheckInSong(int line, const ScoreReader::Range& range, const std::string& word) const
{
    if (range.end > score.bars + 1e-9)
        reader.Fail(line, "bars " + word + " lie outside the song's " + std::to_string(score.bars) + " bars");
}

void Parser::Resolve()
{
    score.harmony.assign(score.bars, std::nullopt);
    for (const PendingHarmony& harmony : harmonies) {
        CheckInSong(harmony.line, harmony.range, harmony.rangeWord);
        size_t index = 0;
        for (int bar = static_cast<int>(harmony.range.start); bar < static_cast<int>(harmony.range.end); ++bar)
            score.harmony[bar] = harmony.chords[index++ % harmony.chords.size()];
    }
    for (const PendingPlacement& pending : placements) {
        CheckInSong(pending.line, pending.range, pending.rangeWord);
        Placement placement{pending.line, pending.range.start, pending.range.end,
                            InstrumentIndex(pending.instrument, pending.line), -1, pending.transpose, pending.velocity};
        for (size_t i = 0; i < score.patterns.size(); ++i) {
            if (score.patterns[i].name == pending.pattern)
                placement.pattern = static_cast<int>(i);
        }
        if (placement.pattern < 0)
            reader.Fail(pending.line, "unknown pattern " + Quoted(pending.pattern));
        score.arrangement.push_back(placement);
    }
    for (const PendingAutomation& pending : automations) {
        CheckInSong(pending.line, pending.range, pending.rangeWord);
        ResolveAutomation(pending);
    }
    if (!score.master.sidechainName.empty())
        score.master.sidechain = InstrumentIndex(score.master.sidechainName, score.master.sidechainLine);
}

void Parser::ResolveAutomation(const PendingAutomation& pending)
{
    struct Target {
        const char* name;
        AutomatedParam param;
        double lowest, highest;
    };
    static const std::array<Target, 5> targets = {{
        {"gain", AutomatedParam::Gain, -60, 24},
        {"cutoff", AutomatedParam::Cutoff, 20, 20000},
        {"resonance", AutomatedParam::Resonance, 0, 0.99},
        {"delay", AutomatedParam::DelaySend, 0, 1},
        {"reverb", AutomatedParam::ReverbSend, 0, 1},
    }};
    const std::string full = pending.target + "." + pending.param;
    AutomationSegment segment;
    segment.line = pending.line;
    segment.startBar = pending.range.start;
    segment.endBar = pending.range.end;
    segment.instrument = pending.target == "master" ? -1 : InstrumentIndex(pending.target, pending.line);
    const Target* found = nullptr;
    for (const Target& target : targets) {
        if (pending.param == target.name && (segment.instrument >= 0 || target.param == AutomatedParam::Gain))
            found = &target;
    }
    if (!found)
        reader.Fail(pending.line, Quoted(full) + " cannot be automated (INSTRUMENT.gain, .cutoff, .resonance, "
                                                 ".delay, .reverb, or master.gain)");
    segment.param = found->param;
    const auto value = [&](const std::string& word) {
        return found->param == AutomatedParam::Gain
                   ? reader.Decibels(pending.line, full, word, found->lowest, found->highest)
                   : static_cast<float>(reader.NumberIn(pending.line, full, word, found->lowest, found->highest));
    };
    segment.from = value(pending.from);
    segment.to = value(pending.to);
    for (const AutomationSegment& other : score.automation) {
        if (other.instrument == segment.instrument && other.param == segment.param &&
            segment.startBar < other.endBar && other.startBar < segment.endBar)
            reader.Fail(pending.line, "automation of " + Quoted(full) + " overlaps the one on line " +
                                          std::to_string(other.line));
    }
    score.automation.push_back(segment);
}

} // namespace

Score ParseScore(const std::string& text, const std::string& fileName)
{
    return Parser(text, fileName).Parse();
}

Score LoadScore(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SynthError(path + ": cannot open the score");
    std::ostringstream text;
    text << file.rdbuf();
    return ParseScore(text.str(), path);
}

} // namespace synth
